#include "ui/cleaning/ReviewLooks.h"

namespace harborlite {

ScanButtonLook scanButtonLook(bool isBusy, const QString& scanTitle)
{
    if (isBusy) {
        return {QStringLiteral("Stop"), PaletteRole::danger, true};
    }
    return {scanTitle, PaletteRole::accent, false};
}

} // namespace harborlite
