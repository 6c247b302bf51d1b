#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QImage;
class QPainter;

namespace harborlite::Shapes {

// `color` with its opacity multiplied by `opacity`.
QColor faded(const QColor& color, qreal opacity);

// A rounded rectangle; a radius above half the shorter side makes a capsule.
QPainterPath roundedRect(const QRectF& rect, qreal radius);

// A capsule (radius half the height) filling `rect`.
QPainterPath capsule(const QRectF& rect);

// Strokes the rounded rectangle inside its outline: the line lies wholly
// within `rect`.
void strokeInside(QPainter& painter, const QRectF& rect, qreal radius, const QColor& color, qreal lineWidth);

// Blurs a premultiplied ARGB image in place with three box passes each way,
// close to a Gaussian of standard deviation `sigma` pixels.
void blur(QImage& image, qreal sigma);

} // namespace harborlite::Shapes
