#pragma once

#include "paint/Palette.h"

#include <QGradientStops>
#include <QPointF>
#include <QRectF>

#include <array>

class QPainter;

namespace harborlite {

// The backdrop of every widget: the canvas with two soft glows, mint up and to
// the left of the centre, the bright accent down and to the right.
namespace WidgetBackground {

struct Glow {
    const AdaptiveColor* color;
    qreal opacity;
    qreal diameter;
    QPointF offset;
};

// The two glows, back to front.
const std::array<Glow, 2>& glows();

// The blur's spread: a Gaussian whose deviation is half the blur radius of 55.
inline constexpr qreal kBlurSigma = 55.0 / 2;

// How much of a disc of `radius`, blurred with deviation `sigma`, covers a
// point `distance` from its centre (0...1).
qreal blurredDiscCoverage(qreal distance, qreal radius, qreal sigma);

// Radial stops (0 at the centre, 1 at three deviations beyond the edge) of a
// blurred disc in `color`.
QGradientStops blurredDiscStops(const QColor& color, qreal radius, qreal sigma);

void paint(QPainter& painter, const QRectF& rect, Appearance appearance);

} // namespace WidgetBackground

} // namespace harborlite
