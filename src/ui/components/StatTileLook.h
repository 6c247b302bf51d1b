#pragma once

#include "shared/PaletteRole.h"

#include <QString>

namespace harborlite {

// What a stat tile shows of one reading; a screen works it out from a
// snapshot and the tile only applies it.
struct StatTileLook {
    QString title;
    QString value;
    QString caption;
    double fraction = 0;
    QString symbol;
    PaletteRole tint = PaletteRole::accent;

    bool operator==(const StatTileLook&) const = default;
};

} // namespace harborlite
