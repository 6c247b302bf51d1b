#pragma once

#include <QFont>

namespace harborlite::WidgetFont {

// The system font of the widgets at `pixels` (device-independent pixels,
// converted by the primary screen's logical DPI) and `weight`: Inter when
// installed, else the application's default family. The rounded design has
// no matching Debian family, so rounded texts use the same one.
QFont font(qreal pixels, QFont::Weight weight = QFont::Normal);

} // namespace harborlite::WidgetFont
