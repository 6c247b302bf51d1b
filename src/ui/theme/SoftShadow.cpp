#include "ui/theme/SoftShadow.h"

#include "ui/theme/Shapes.h"
#include "ui/theme/SurfaceCache.h"

#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>

#include <cmath>

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

void SoftShadow::paint(QPainter& painter, const QRectF& surface, qreal cornerRadius, const QColor& color)
{
    const qreal reach = 1.5 * radius_;
    // Shadows are kept by what they look like, not by who draws them: a
    // screen made again, as on every visit, finds its shadows ready.
    const QString key = QStringLiteral("harborlite-shadow-%1-%2-%3x%4-%5-%6")
                            .arg(radius_)
                            .arg(opacity_)
                            .arg(surface.width())
                            .arg(surface.height())
                            .arg(cornerRadius)
                            .arg(color.rgba());
    if (cached_.isNull() || cachedKey_ != key) {
        QPixmap kept;
        if (QPixmapCache::find(key, &kept)) {
            cached_ = kept.toImage();
        } else {
            const QSizeF full = surface.size() + QSizeF(2 * reach, 2 * reach);
            QImage image(std::max(1, static_cast<int>(std::ceil(full.width() * kScale))),
                         std::max(1, static_cast<int>(std::ceil(full.height() * kScale))),
                         QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            {
                QPainter shape(&image);
                shape.setRenderHint(QPainter::Antialiasing);
                shape.scale(kScale, kScale);
                shape.fillPath(Shapes::roundedRect(QRectF(QPointF(reach, reach), surface.size()), cornerRadius),
                               Shapes::faded(color, opacity_));
            }
            Shapes::blur(image, radius_ / 2 * kScale);
            cached_ = image;
            QPixmapCache::insert(key, QPixmap::fromImage(image));
        }
        cachedKey_ = key;
    }
    const QRectF target(surface.topLeft() + QPointF(-reach, -reach + offsetY()),
                        surface.size() + QSizeF(2 * reach, 2 * reach));
    if (const qreal ratio = SurfaceCache::plainRatio(painter); ratio > 0) {
        // The scaled image sampled on the device's pixel grid a direct
        // drawing would use; where the target lies within its whole pixels
        // also sets how many there are.
        const QRectF onDevice = painter.deviceTransform().mapRect(target);
        const QRect pixels = onDevice.toAlignedRect();
        const QRectF within(onDevice.topLeft() - QPointF(pixels.topLeft()), onDevice.size());
        const QString placedKey = key
            + QStringLiteral("-at-%1-%2-%3x%4@%5")
                  .arg(within.x())
                  .arg(within.y())
                  .arg(pixels.width())
                  .arg(pixels.height())
                  .arg(ratio);
        // Drawn once as it is first shown, the shadow is scaled straight onto
        // the painter; kept only when it is drawn again at the same place.
        QPixmap placed;
        const bool kept = QPixmapCache::find(placedKey, &placed);
        if (kept || SurfaceCache::seenBefore(placedKey)) {
            if (!kept) {
                QImage drawn(pixels.size(), QImage::Format_ARGB32_Premultiplied);
                drawn.fill(Qt::transparent);
                {
                    QPainter onto(&drawn);
                    onto.setRenderHint(QPainter::SmoothPixmapTransform);
                    onto.drawImage(within, cached_);
                }
                placed = QPixmap::fromImage(std::move(drawn));
                QPixmapCache::insert(placedKey, placed);
            }
            painter.save();
            SurfaceCache::useDevicePixels(painter);
            painter.drawPixmap(pixels.topLeft(), placed);
            painter.restore();
            return;
        }
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, cached_);
    painter.restore();
}

} // namespace harborlite
