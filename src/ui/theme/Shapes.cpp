#include "ui/theme/Shapes.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace harborlite::Shapes {

namespace {

// One box pass of radius `radius` over `count` pixels spaced `stride` apart.
void boxPass(QRgb* line, int count, int stride, int radius, std::vector<QRgb>& scratch)
{
    scratch.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        scratch[static_cast<size_t>(i)] = line[i * stride];
    }
    const int width = 2 * radius + 1;
    long sums[4] = {0, 0, 0, 0};
    const auto add = [&](int index, int sign) {
        if (index < 0 || index >= count) {
            return;
        }
        const QRgb p = scratch[static_cast<size_t>(index)];
        sums[0] += sign * qAlpha(p);
        sums[1] += sign * qRed(p);
        sums[2] += sign * qGreen(p);
        sums[3] += sign * qBlue(p);
    };
    for (int i = -radius; i < radius; ++i) {
        add(i, 1);
    }
    for (int i = 0; i < count; ++i) {
        add(i + radius, 1);
        line[i * stride] = qRgba(static_cast<int>(sums[1] / width), static_cast<int>(sums[2] / width),
                                 static_cast<int>(sums[3] / width), static_cast<int>(sums[0] / width));
        add(i - radius, -1);
    }
}

} // namespace

QColor faded(const QColor& color, qreal opacity)
{
    QColor made = color;
    made.setAlphaF(static_cast<float>(std::clamp<qreal>(color.alphaF() * opacity, 0, 1)));
    return made;
}

QPainterPath roundedRect(const QRectF& rect, qreal radius)
{
    const qreal limited = std::clamp<qreal>(radius, 0, std::min(rect.width(), rect.height()) / 2);
    QPainterPath path;
    path.addRoundedRect(rect, limited, limited);
    return path;
}

QPainterPath capsule(const QRectF& rect)
{
    return roundedRect(rect, rect.height() / 2);
}

void strokeInside(QPainter& painter, const QRectF& rect, qreal radius, const QColor& color, qreal lineWidth)
{
    const qreal half = lineWidth / 2;
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(color, lineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawPath(roundedRect(rect.adjusted(half, half, -half, -half), std::max<qreal>(0, radius - half)));
    painter.restore();
}

void blur(QImage& image, qreal sigma)
{
    if (sigma <= 0 || image.isNull()) {
        return;
    }
    if (image.format() != QImage::Format_ARGB32_Premultiplied) {
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    // Three boxes of this radius have the variance of the Gaussian.
    const int radius = std::max(1, static_cast<int>(std::lround((std::sqrt(4 * sigma * sigma + 1) - 1) / 2)));
    std::vector<QRgb> scratch;
    const int w = image.width();
    const int h = image.height();
    auto* pixels = reinterpret_cast<QRgb*>(image.bits());
    const int stride = static_cast<int>(image.bytesPerLine() / 4);
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            boxPass(pixels + y * stride, w, 1, radius, scratch);
        }
        for (int x = 0; x < w; ++x) {
            boxPass(pixels + x, h, stride, radius, scratch);
        }
    }
}

} // namespace harborlite::Shapes
