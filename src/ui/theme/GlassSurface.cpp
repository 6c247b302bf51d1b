#include "ui/theme/GlassSurface.h"

#include "ui/paintcache/PictureKey.h"
#include "ui/paintcache/SurfaceCache.h"
#include "ui/theme/Shapes.h"

#include <QPainter>

namespace harborlite::GlassSurface {

QColor material(Appearance appearance)
{
    return appearance == Appearance::dark ? Shapes::faded(Palette::canvas().dark, 0.5) : Shapes::faded(Qt::white, 0.35);
}

namespace {

struct Colours {
    QColor fill;
    QColor card;
    QColor stroke;
};

Colours colours(Appearance appearance)
{
    return {material(appearance), Shapes::faded(Palette::card().resolve(appearance), kCardOpacity),
            Palette::surfaceStroke().resolve(appearance)};
}

// The colours name the look: a change of palette or contrast is a new surface.
QString lookOf(const Colours& colours, const std::optional<QColor>& tint)
{
    return PictureLook::of(u"glass", colours.fill, colours.card, colours.stroke, tint.value_or(QColor()));
}

} // namespace

QString look(Appearance appearance, const std::optional<QColor>& tint)
{
    return lookOf(colours(appearance), tint);
}

void paint(QPainter& painter, const QRectF& rect, qreal cornerRadius, Appearance appearance,
           const std::optional<QColor>& tint)
{
    const Colours chosen = colours(appearance);
    const QString key = lookOf(chosen, tint);
    SurfaceCache::draw(painter, rect, cornerRadius, key, [&](QPainter& onto, const QRectF& surface, qreal radius) {
        const QPainterPath shape = Shapes::roundedRect(surface, radius);
        onto.save();
        onto.setRenderHint(QPainter::Antialiasing);
        onto.setPen(Qt::NoPen);
        onto.fillPath(shape, chosen.fill);
        onto.fillPath(shape, chosen.card);
        if (tint) {
            onto.fillPath(shape, Shapes::faded(*tint, kTintOpacity));
        }
        Shapes::strokeInside(onto, surface, radius, chosen.stroke, kStrokeWidth);
        onto.restore();
    });
}

} // namespace harborlite::GlassSurface
