#include "ui/cleaning/ReviewLooks.h"

#include <QCoreApplication>

namespace harborlite {

ScanButtonLook scanButtonLook(bool isBusy, const QString& scanTitle)
{
    if (isBusy) {
        return {QCoreApplication::translate("ReviewLooks", "Stop"), PaletteRole::danger, true};
    }
    return {scanTitle, PaletteRole::accent, false};
}

} // namespace harborlite
