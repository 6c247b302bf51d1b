#pragma once

#include <QImage>
#include <QPainterPath>
#include <QRectF>

class QPainter;

namespace harborlite {

class WidgetView;

// How the host draws a widget: the view rendered once per entry into a
// picture, then shown clipped to the widget's rounded frame.
namespace WidgetPicture {

inline constexpr qreal kCornerRadius = 20;

// The view at its current size, at `devicePixelRatio`, on a transparent image.
QImage render(WidgetView& view, qreal devicePixelRatio);

// The widget's rounded frame in `rect`.
QPainterPath frame(const QRectF& rect);

// Draws `picture` into `rect`, clipped to the frame.
void paint(QPainter& painter, const QRectF& rect, const QImage& picture);

// "name: value" of every child of the view that has an accessible name, in
// order, for the window's accessible description.
QString accessibleSummary(const WidgetView& view);

} // namespace WidgetPicture

} // namespace harborlite
