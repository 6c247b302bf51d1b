#include "ui/theme/SoftShadow.h"

#include "ui/theme/Shapes.h"
#include "ui/theme/SurfaceCache.h"

#include <QPainter>

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
    if (cached_.isNull() || cachedSize_ != surface.size() || cachedCornerRadius_ != cornerRadius
        || cachedColor_ != color) {
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
        drawn_ = {};
        cachedSize_ = surface.size();
        cachedCornerRadius_ = cornerRadius;
        cachedColor_ = color;
    }
    const QRectF target(surface.topLeft() + QPointF(-reach, -reach + offsetY()),
                        surface.size() + QSizeF(2 * reach, 2 * reach));
    if (SurfaceCache::drawsPlainly(painter)) {
        // The scaled image sampled on the pixel grid a direct drawing would
        // use; where the target lies within its whole pixels also sets how
        // many there are.
        const QRect pixels = target.toAlignedRect();
        const QRectF within(target.topLeft() - QPointF(pixels.topLeft()), target.size());
        bool current = !drawn_.isNull() && drawnAt_ == within;
        // Drawn once as it is first shown, the shadow is scaled straight onto
        // the painter; kept only when it is drawn again at the same place.
        if (!current && wantedAt_ == within) {
            drawn_ = QImage(pixels.size(), QImage::Format_ARGB32_Premultiplied);
            drawn_.fill(Qt::transparent);
            QPainter onto(&drawn_);
            onto.setRenderHint(QPainter::SmoothPixmapTransform);
            onto.drawImage(within, cached_);
            drawnAt_ = within;
            current = true;
        }
        if (current) {
            painter.drawImage(pixels.topLeft(), drawn_);
            return;
        }
        wantedAt_ = within;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, cached_);
    painter.restore();
}

} // namespace harborlite
