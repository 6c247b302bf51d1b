#include "ui/updates/UpdateTile.h"

#include "paint/Palette.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"

#include <QPainter>

#include <cmath>

namespace harborlite {

UpdateTile::UpdateTile(qreal cornerRadius, qreal side, qreal symbolSize, QWidget* parent)
    : QWidget(parent)
    , cornerRadius_(cornerRadius)
    , side_(side)
    , symbolSize_(symbolSize)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedSize(sizeHint());
}

QSize UpdateTile::sizeHint() const
{
    const int side = static_cast<int>(std::ceil(side_));
    return {side, side};
}

void UpdateTile::paint(QPainter& painter, const QRectF& square, qreal cornerRadius, qreal symbolSize,
                       const QObject* where)
{
    const Appearance appearance = Palette::appearance(where);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(Shapes::roundedRect(square, cornerRadius), Palette::accentGradient(square, appearance));
    const QRectF glyph(square.center().x() - symbolSize / 2, square.center().y() - symbolSize / 2, symbolSize,
                       symbolSize);
    Symbols::paint(painter, glyph, QStringLiteral("arrow.down.circle.fill"), QColor(Qt::white));
}

void UpdateTile::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, QRectF(0, 0, side_, side_), cornerRadius_, symbolSize_, this);
}

} // namespace harborlite
