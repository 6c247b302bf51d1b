#pragma once

#include "paint/Palette.h"
#include "paint/AppTheme.h"

#include <QPalette>

#include <optional>

namespace harborlite::ApplicationAppearance {

// The appearance a theme forces: none for system (the desktop's is followed),
// light or dark otherwise.
std::optional<Appearance> forcedBy(AppTheme theme);

// Qt's own palette drawn from the system palette, so standard controls (menus,
// scroll bars, text fields) match the painted components.
QPalette qtPalette(Appearance appearance);

// Makes the theme the application's appearance: under the Fusion style, a
// forced appearance also sets the application's QPalette and system restores
// the desktop's. Every widget then receives a palette change and every window
// repaints, so each palette colour resolves anew at the next draw.
void apply(AppTheme theme);

} // namespace harborlite::ApplicationAppearance
