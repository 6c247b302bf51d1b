#include "ui/theme/GlassSurface.h"

#include "ui/theme/Shapes.h"
#include "ui/theme/SurfaceCache.h"

#include <QPainter>

namespace harborlite::GlassSurface {

QColor material(Appearance appearance)
{
    return appearance == Appearance::dark ? Shapes::faded(Palette::canvas().dark, 0.5)
                                          : Shapes::faded(Qt::white, 0.35);
}

QString look(Appearance appearance, const std::optional<QColor>& tint)
{
    return QStringLiteral("glass-%1-%2-%3-%4")
        .arg(material(appearance).rgba())
        .arg(Shapes::faded(Palette::card().resolve(appearance), kCardOpacity).rgba())
        .arg(Palette::surfaceStroke().resolve(appearance).rgba())
        .arg(tint ? tint->rgba() : 0u);
}

void paint(QPainter& painter, const QRectF& rect, qreal cornerRadius, Appearance appearance,
           const std::optional<QColor>& tint)
{
    const QColor fill = material(appearance);
    const QColor card = Shapes::faded(Palette::card().resolve(appearance), kCardOpacity);
    const QColor stroke = Palette::surfaceStroke().resolve(appearance);
    // The colours name the look: a change of palette or contrast is a new surface.
    const QString key = look(appearance, tint);
    SurfaceCache::draw(painter, rect, cornerRadius, key,
                       [&](QPainter& onto, const QRectF& surface, qreal radius) {
                           const QPainterPath shape = Shapes::roundedRect(surface, radius);
                           onto.save();
                           onto.setRenderHint(QPainter::Antialiasing);
                           onto.setPen(Qt::NoPen);
                           onto.fillPath(shape, fill);
                           onto.fillPath(shape, card);
                           if (tint) {
                               onto.fillPath(shape, Shapes::faded(*tint, kTintOpacity));
                           }
                           Shapes::strokeInside(onto, surface, radius, stroke, kStrokeWidth);
                           onto.restore();
                       });
}

} // namespace harborlite::GlassSurface
