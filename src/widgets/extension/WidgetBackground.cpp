#include "widgets/extension/WidgetBackground.h"

#include <QPainter>
#include <QRadialGradient>

#include <array>
#include <cmath>

namespace harborlite::WidgetBackground {

namespace {

constexpr int kStops = 24;
constexpr int kSteps = 240;

} // namespace

const std::array<Glow, 2>& glows()
{
    static const std::array<Glow, 2> made = {{
        {&Palette::mint(), 0.8, 220, {-70, -60}},
        {&Palette::accentBright(), 0.35, 180, {90, 70}},
    }};
    return made;
}

qreal blurredDiscCoverage(qreal distance, qreal radius, qreal sigma)
{
    if (sigma <= 0) {
        return distance <= radius ? 1 : 0;
    }
    // The Gaussian's mass inside the disc, integrated over rings of the disc:
    // ∫₀ᴿ ρ/σ² · exp(−(ρ² + d²)/2σ²) · I₀(ρd/σ²) dρ, by the midpoint rule.
    const qreal s2 = sigma * sigma;
    const qreal step = radius / kSteps;
    qreal sum = 0;
    for (int i = 0; i < kSteps; ++i) {
        const qreal rho = (i + 0.5) * step;
        sum += rho / s2 * std::exp(-(rho * rho + distance * distance) / (2 * s2))
            * std::cyl_bessel_i(0.0, rho * distance / s2) * step;
    }
    return std::clamp<qreal>(sum, 0, 1);
}

QGradientStops blurredDiscStops(const QColor& color, qreal radius, qreal sigma)
{
    const qreal reach = radius + 3 * sigma;
    QGradientStops stops;
    for (int i = 0; i <= kStops; ++i) {
        const qreal position = qreal(i) / kStops;
        QColor stop = color;
        stop.setAlphaF(float(color.alphaF() * blurredDiscCoverage(position * reach, radius, sigma)));
        stops.append({position, stop});
    }
    return stops;
}

void paint(QPainter& painter, const QRectF& rect, Appearance appearance)
{
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.fillRect(rect, Palette::canvas().resolve(appearance));
    painter.setPen(Qt::NoPen);
    for (const Glow& glow : glows()) {
        QColor color = glow.color->resolve(appearance);
        color.setAlphaF(float(color.alphaF() * glow.opacity));
        const qreal radius = glow.diameter / 2;
        const qreal reach = radius + 3 * kBlurSigma;
        const QPointF center = rect.center() + glow.offset;
        QRadialGradient gradient(center, reach);
        gradient.setStops(blurredDiscStops(color, radius, kBlurSigma));
        painter.setBrush(gradient);
        painter.drawEllipse(center, reach, reach);
    }
    painter.restore();
}

} // namespace harborlite::WidgetBackground
