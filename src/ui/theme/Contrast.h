#pragma once

#include <QColor>

namespace harborlite::Contrast {

// The colour's relative luminance (sRGB, 0 for black to 1 for white), its
// opacity ignored.
qreal luminance(const QColor& color);

// How far apart two colours read, 1:1 to 21:1 (the ratio text legibility is
// measured by; body text wants 4.5:1).
qreal ratio(const QColor& first, const QColor& second);

} // namespace harborlite::Contrast
