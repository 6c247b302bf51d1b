#include "ui/theme/SoftShadow.h"

#include "ui/paintcache/PictureCache.h"
#include "ui/paintcache/SurfaceCache.h"
#include "ui/theme/Shapes.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <utility>

namespace harborlite {

namespace {

// The shadow is blurred at half resolution; it is soft enough not to show it.
constexpr qreal kScale = 0.5;

} // namespace

SoftShadow::SoftShadow(qreal radius, qreal opacity)
    : radius_(radius)
    , opacity_(opacity)
{
}

QMarginsF SoftShadow::margins() const
{
    // A Gaussian of deviation radius / 2 has faded out after 1.5 × radius.
    const qreal reach = 1.5 * radius_;
    return {reach, std::max<qreal>(0, reach - offsetY()), reach, reach + offsetY()};
}

QImage SoftShadow::blurred(const QSizeF& surface, qreal cornerRadius, const QColor& color) const
{
    const qreal reach = 1.5 * radius_;
    const QSizeF full = surface + QSizeF(2 * reach, 2 * reach);
    QImage image(std::max(1, static_cast<int>(std::ceil(full.width() * kScale))),
                 std::max(1, static_cast<int>(std::ceil(full.height() * kScale))), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter shape(&image);
        shape.setRenderHint(QPainter::Antialiasing);
        shape.scale(kScale, kScale);
        shape.fillPath(Shapes::roundedRect(QRectF(QPointF(reach, reach), surface), cornerRadius),
                       Shapes::faded(color, opacity_));
    }
    Shapes::blur(image, radius_ / 2 * kScale);
    return image;
}

void SoftShadow::paint(QPainter& painter, const QRectF& surface, qreal cornerRadius, const QColor& color)
{
    const qreal reach = 1.5 * radius_;
    const QRectF target(surface.topLeft() + QPointF(-reach, -reach + offsetY()),
                        surface.size() + QSizeF(2 * reach, 2 * reach));
    const qreal ratio = SurfaceCache::scaleRatio(painter);
    if (ratio <= 0) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, blurred(surface.size(), cornerRadius, color));
        painter.restore();
        return;
    }
    // Kept as drawn on the device: the half-resolution image scaled up,
    // smoothly, on every repaint cost more than the rest of the repaint. The
    // scaled image is sampled on the device's pixel grid a direct drawing
    // would use; where the target lies within its whole pixels also sets how
    // many there are. Shadows are kept by what they look like, not by who
    // draws them: a screen made again, as on every visit, finds them ready.
    const QRectF onDevice = painter.deviceTransform().mapRect(target);
    const QRect pixels = onDevice.toAlignedRect();
    const QRectF within(onDevice.topLeft() - QPointF(pixels.topLeft()), onDevice.size());
    const PictureKey key{PictureLook::of(u"shadow", radius_, opacity_, surface.width(), surface.height(), cornerRadius,
                                         color, within.x(), within.y()),
                         pixels.size(), ratio};
    QPixmap placed;
    if (!PictureCache::find(key, &placed)) {
        QImage drawn(pixels.size(), QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        {
            QPainter onto(&drawn);
            onto.setRenderHint(QPainter::SmoothPixmapTransform);
            onto.drawImage(within, blurred(surface.size(), cornerRadius, color));
        }
        placed = QPixmap::fromImage(std::move(drawn));
        PictureCache::keep(key, placed);
    }
    painter.save();
    SurfaceCache::useDevicePixels(painter);
    painter.drawPixmap(pixels.topLeft(), placed);
    painter.restore();
}

} // namespace harborlite
