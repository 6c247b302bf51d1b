#pragma once

#include "shared/Palette.h"
#include "viewmodels/AppTheme.h"

#include <optional>

namespace harborlite::ApplicationAppearance {

// The appearance a theme forces: none for system (the desktop's is followed),
// light or dark otherwise.
std::optional<Appearance> forcedBy(AppTheme theme);

// Makes the theme the application's appearance and repaints every window, so
// each palette colour resolves anew at the next draw.
void apply(AppTheme theme);

} // namespace harborlite::ApplicationAppearance
