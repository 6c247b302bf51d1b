#include "paint/BrandMark.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace harborlite {

BrandMark::BrandMark(qreal thickness, const AdaptiveColor& tint, QWidget* parent)
    : QWidget(parent)
    , thickness_(thickness)
    , tint_(tint)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

BrandMarkGeometry BrandMark::geometry(const QRectF& frame, qreal thickness)
{
    BrandMarkGeometry made;
    const qreal side = std::min(frame.width(), frame.height());
    made.center = frame.center();
    made.square = QRectF(made.center.x() - side / 2, made.center.y() - side / 2, side, side);
    made.lineWidth = thickness * side;
    made.radius = (side - made.lineWidth) / 2;
    // 330° clockwise from 3 o'clock: cos 330° = 0.8660254, sin 330° = -0.5.
    made.dotCenter = made.center + QPointF(0.8660254037844384 * made.radius, -0.5000000000000004 * made.radius);
    return made;
}

void BrandMark::paint(QPainter& painter, const QRectF& frame, qreal thickness, const QColor& tint, qreal sweep)
{
    const BrandMarkGeometry g = geometry(frame, thickness);
    if (g.square.isEmpty()) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(tint, g.lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRectF circle(g.center.x() - g.radius, g.center.y() - g.radius, 2 * g.radius, 2 * g.radius);
    // Qt's angles run counter-clockwise, so a clockwise sweep has a negative span.
    QPainterPath ring;
    ring.arcMoveTo(circle, 0);
    ring.arcTo(circle, 0, -std::clamp<qreal>(sweep, 0, 1) * 360);
    painter.drawPath(ring);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tint);
    painter.drawEllipse(g.dotCenter, g.lineWidth / 2, g.lineWidth / 2);
    painter.restore();
}

QSize BrandMark::sizeHint() const
{
    return {17, 17};
}

void BrandMark::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, rect(), thickness_, tint_.resolve(Palette::appearance(this)));
}

} // namespace harborlite
