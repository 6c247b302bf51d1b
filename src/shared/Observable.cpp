#include "shared/Observable.h"

namespace harborlite {

Observable::Observable(QObject* parent) : QObject(parent) {}

void Observable::forwardChanges(const Observable* child)
{
    connect(child, &Observable::objectWillChange, this, &Observable::objectWillChange, Qt::DirectConnection);
    connect(child, &Observable::didChange, this, &Observable::didChange, Qt::DirectConnection);
}

} // namespace harborlite
