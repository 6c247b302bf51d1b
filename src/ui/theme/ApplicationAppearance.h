#pragma once

#include "paint/AppTheme.h"
#include "paint/Palette.h"

#include <QPalette>

#include <optional>

namespace harborlite::ApplicationAppearance {

// The appearance a theme forces: none for system (the desktop's is followed),
// light or dark otherwise.
std::optional<Appearance> forcedBy(AppTheme theme);

// Qt's own palette drawn from the system palette, so standard controls (menus,
// scroll bars, text fields) match the painted components.
QPalette qtPalette(Appearance appearance);

// The application's QPalette for a theme when the desktop is drawn in
// `desktop`: the forced appearance's, else the desktop's own appearance in the
// system's colours (never the stock palette).
QPalette paletteFor(AppTheme theme, Appearance desktop);

// Makes the theme the application's appearance, under the Fusion style and
// in the system's type (Inter at 13 px for the standard controls): a forced
// appearance sets the application's QPalette from Palette; system sets it for
// the desktop's own appearance, light or dark, and again whenever the
// desktop's theme changes. Every widget then receives a palette change and
// every window repaints, so each palette colour resolves anew at the next
// draw.
void apply(AppTheme theme);

// Whether the desktop, as its own palette shows it, is light or dark; reads
// it afresh (the application's palette is put back afterwards).
Appearance desktopAppearance();

} // namespace harborlite::ApplicationAppearance
