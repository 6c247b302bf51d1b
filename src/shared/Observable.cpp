#include "shared/Observable.h"

namespace harborlite {

Observable::Observable(QObject* parent)
    : QObject(parent)
{
}

} // namespace harborlite
