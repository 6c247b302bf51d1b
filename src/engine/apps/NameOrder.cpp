#include "engine/apps/NameOrder.h"

#include <QLocale>

namespace harborlite {

NameOrder::NameOrder()
    : collator_(QLocale::system().language() == QLocale::C ? QLocale(QLocale::English) : QLocale::system())
{
    collator_.setNumericMode(true);
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

} // namespace harborlite
