#pragma once

#include "shared/PaletteRole.h"

#include <QString>

namespace harborlite {

// What a screen's primary action bar shows at one moment; the screen works it
// out from the model and the bar only applies it.
struct ActionBarLook {
    QString title;
    QString detail;
    QString buttonTitle;
    bool isEnabled = false;
    bool isBusy = false;
    PaletteRole tint = PaletteRole::accent;

    bool operator==(const ActionBarLook&) const = default;
};

} // namespace harborlite
