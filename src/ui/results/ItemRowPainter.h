#pragma once

#include "engine/models/ScanItem.h"
#include "paint/Palette.h"
#include "ui/theme/ShapedText.h"

#include <QIcon>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

// The one drawing of a scan item's row, shared by the results list's painted
// rows and the ItemRow widget: box, 16-pixel icon, name over origin (both cut
// in the middle), the review triangle, the detail, the size (at least 66 wide,
// right-aligned) and the reveal symbol, padded 9 across and 5 down, on mint at
// 0.4 while the pointer is over the row.
namespace harborlite::ItemRowPainter {

inline constexpr int kHorizontalPadding = 9;
inline constexpr int kVerticalPadding = 5;
inline constexpr int kSpacing = 9;
inline constexpr int kMinimumSpacer = 8;
inline constexpr int kBoxSide = 17;
inline constexpr int kIconSide = 16;
inline constexpr int kWarningSide = 10;
inline constexpr int kRevealSide = 11;
inline constexpr int kSizeWidth = 66;
inline constexpr qreal kCornerRadius = 9;
inline constexpr qreal kHoverOpacity = 0.4;

// The tooltips of the review warning and of the reveal symbol.
QString warningToolTip();
QString revealToolTip();

// "0 KB" for 0 or less, else the byte text.
QString sizeText(const ScanItem& item);

// The row's height: the taller of the box and the name (with the origin
// below it when there is one), plus the padding.
int height(const ScanItem& item);

// Where each part lies in a row drawn in `rect`; parts the item lacks are empty.
struct Layout {
    QRect box;
    QRect icon;
    QRect name;
    QRect origin;
    QRect warning;
    QRect detail;
    QRect size;
    QRect reveal;
};
Layout layout(const QRect& rect, const ScanItem& item);

// The name and origin as drawn in a line `width` wide: cut in the middle, so
// the start and the end of a path stay visible.
QString shownName(const ScanItem& item, int width);
QString shownOrigin(const ScanItem& item, int width);

// What a row costs to measure: its parts placed in a rectangle of `size` at
// the origin, and its texts as cut to fit them.
struct Prepared {
    Layout layout;
    ShapedText name;
    ShapedText origin;
    ShapedText detail;
    ShapedText size;
};
Prepared prepare(const QSize& size, const ScanItem& item);

void paint(QPainter& painter, const QRect& rect, const ScanItem& item, const QIcon& icon, bool hovering, bool focused,
           Appearance appearance);
// The same, from what prepare(rect.size(), item) gave.
void paint(QPainter& painter, const QRect& rect, const Prepared& prepared, const ScanItem& item, const QIcon& icon,
           bool hovering, bool focused, Appearance appearance);

} // namespace harborlite::ItemRowPainter
