#include "ui/theme/GlassSurface.h"

#include "ui/theme/Shapes.h"

#include <QPainter>

namespace harborlite::GlassSurface {

QColor material(Appearance appearance)
{
    return appearance == Appearance::dark ? Shapes::faded(Palette::canvas().dark, 0.5)
                                          : Shapes::faded(Qt::white, 0.35);
}

void paint(QPainter& painter, const QRectF& rect, qreal cornerRadius, Appearance appearance,
           const std::optional<QColor>& tint)
{
    const QPainterPath shape = Shapes::roundedRect(rect, cornerRadius);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.fillPath(shape, material(appearance));
    painter.fillPath(shape, Shapes::faded(Palette::card().resolve(appearance), kCardOpacity));
    if (tint) {
        painter.fillPath(shape, Shapes::faded(*tint, kTintOpacity));
    }
    Shapes::strokeInside(painter, rect, cornerRadius, Palette::surfaceStroke().resolve(appearance), kStrokeWidth);
    painter.restore();
}

} // namespace harborlite::GlassSurface
