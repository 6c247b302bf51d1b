#pragma once

#include <QFont>

namespace harborlite::TypeStyle {

// The family every text of the system is set in: Inter when installed, else the
// application's default family.
QString family();

// Qt point size for a size given in pixels at `logicalDpi` dots per inch.
qreal pointSize(qreal pixels, qreal logicalDpi);

// The system font at `pixels` (device-independent pixels at 96 DPI, so a desktop
// text scale, which raises the logical DPI, enlarges it) and `weight`. The rounded design the texts ask
// for has no Debian counterpart that matches Inter, so it is the same family.
QFont font(qreal pixels, QFont::Weight weight);

QFont heroNumber(); // 64 bold
QFont screenTitle(); // 30 bold
QFont sectionTitle(); // 17 semibold
QFont rowTitle(); // 13 medium
QFont rowDetail(); // 11 regular
QFont pill(); // 12 semibold

} // namespace harborlite::TypeStyle
