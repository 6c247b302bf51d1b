#include "ui/shell/BrandIcon.h"

#include "paint/BrandMark.h"
#include "paint/Palette.h"
#include "ui/theme/Shapes.h"

#include <QPainter>

namespace harborlite {

namespace {

// The sidebar's tile is 30 wide with a corner radius of 10 and a 17-wide mark.
constexpr qreal kCornerShare = 10.0 / 30.0;
constexpr qreal kMarkShare = 17.0 / 30.0;
constexpr qreal kMarkThickness = 0.24;

} // namespace

QImage brandIconImage(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(0, 0, side, side);
    painter.fillPath(Shapes::roundedRect(tile, kCornerShare * side), Palette::accentGradient(tile, Appearance::light));
    const qreal mark = kMarkShare * side;
    BrandMark::paint(painter, QRectF((side - mark) / 2, (side - mark) / 2, mark, mark), kMarkThickness, Qt::white);
    return image;
}

QIcon brandIcon()
{
    QIcon icon;
    for (int side : {16, 22, 32, 48, 64, 128, 256}) {
        icon.addPixmap(QPixmap::fromImage(brandIconImage(side)));
    }
    return icon;
}

} // namespace harborlite
