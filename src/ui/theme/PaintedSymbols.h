#pragma once

#include <QPainterPath>
#include <QString>

#include <optional>

namespace harborlite::PaintedSymbols {

// The outline, in the unit square, of a symbol the icon theme has nothing of
// the same meaning or shape for (Adwaita draws a wrench for settings, a light
// bulb for information, a bare shield for threats, an upward arrow for a
// download, and no flame; its appearance icon is masks Qt's SVG renderer draws
// as a full square; its folder is an outline, its chevrons are small
// triangles and its question mark sits in a diamond that reads as a broken
// character): sliders, an "i" and a "?" in a filled circle, shields with their
// mark, a flame, a downward arrow in a circle, a circle with its left half
// filled, a filled folder, chevrons. Marks are cut out of filled shapes, so
// they show whatever lies behind. None for any other name.
std::optional<QPainterPath> path(const QString& symbol);

} // namespace harborlite::PaintedSymbols
