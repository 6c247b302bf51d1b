#include "ui/theme/SoftShadow.h"

#include "ui/theme/Shapes.h"

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
    const QTransform transform = painter.deviceTransform();
    const auto whole = [](qreal value) { return std::abs(value - std::round(value)) < 1e-6; };
    if (painter.opacity() == 1 && painter.compositionMode() == QPainter::CompositionMode_SourceOver
        && transform.type() <= QTransform::TxTranslate && whole(transform.dx()) && whole(transform.dy())) {
        // Logical pixels are device pixels but for a whole shift: the scaled
        // image is sampled on the pixel grid a direct drawing would use.
        const QRect pixels = target.toAlignedRect();
        const QRectF within(target.topLeft() - QPointF(pixels.topLeft()), target.size());
        const bool current = !drawn_.isNull() && drawn_.size() == pixels.size() && drawnAt_ == within;
        // Drawn once as it is first shown, the shadow is scaled straight onto
        // the painter; kept only when it is drawn again at the same place.
        if (!current && wantedAt_ == within && wantedSize_ == pixels.size()) {
            drawn_ = QImage(pixels.size(), QImage::Format_ARGB32_Premultiplied);
            drawn_.fill(Qt::transparent);
            QPainter onto(&drawn_);
            onto.setRenderHint(QPainter::SmoothPixmapTransform);
            onto.drawImage(within, cached_);
            drawnAt_ = within;
        }
        if (!drawn_.isNull() && drawn_.size() == pixels.size() && drawnAt_ == within) {
            painter.drawImage(pixels.topLeft(), drawn_);
            return;
        }
        wantedAt_ = within;
        wantedSize_ = pixels.size();
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, cached_);
    painter.restore();
}

} // namespace harborlite
