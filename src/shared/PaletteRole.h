#pragma once

namespace harborlite {

// The named colours of the palette. Code that does not paint (monitor kinds,
// presentation functions) names a colour by its role; the palette turns the
// role into the light/dark pair at paint time.
enum class PaletteRole {
    accent,
    accentDeep,
    accentBright,
    mint,
    mintDeep,
    canvas,
    card,
    ink,
    inkSecondary,
    inkTertiary,
    hairline,
    warning,
    danger,
    info,
    gradientDeep,
    surfaceStroke,
    innerFill,
    innerFillSoft,
    hoverFill,
    sidebarWash,
    washTop,
    washMiddle,
    washBottom,
};

inline constexpr int paletteRoleCount = 23;

} // namespace harborlite
