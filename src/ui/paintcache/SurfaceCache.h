#pragma once

#include <QColor>
#include <QRect>
#include <QRectF>
#include <QString>

#include <functional>

class QPainter;
class QPixmap;

namespace harborlite::SurfaceCache {

// Draws a surface of the rounded rectangle `rect` from images kept in Qt's
// pixmap cache instead of painting it each time: antialiased fills and
// strokes of a large outline cost a repaint milliseconds, copying their
// pixels a fraction of that. `paint(painter, rect, cornerRadius)` paints the
// surface onto a transparent image; `look` (a PictureLook) names everything
// else its pixels depend on.
//
// The surface is kept in device pixels, drawn aside at the painter's scale
// (a high-DPI screen's ratio), so it is the same picture a direct drawing
// gives wherever the painter only scales by one ratio and shifts by whole
// device pixels, the rectangle lies on whole device pixels and the painter
// lays what it draws plainly over what is there (no opacity of its own);
// elsewhere the surface is painted directly. A tall surface is kept as a
// probe (ProbeAndBand): its top, its bottom and between them rows all alike.
using Painter = std::function<void(QPainter& painter, const QRectF& rect, qreal cornerRadius)>;
void draw(QPainter& painter, const QRectF& rect, qreal cornerRadius, const QString& look, const Painter& paint);

// The rounded rectangle filled with one colour, antialiased, through draw().
void fill(QPainter& painter, const QRectF& rect, qreal cornerRadius, const QColor& color);

// The ellipse inside `rect` filled with one colour, antialiased, through draw().
void disc(QPainter& painter, const QRectF& rect, const QColor& color);

// Lays `band`, whose rows are all alike and as wide as `rows`, over `rows`
// again and again. Where the band is one colour across, that colour is
// filled instead (a plain fill blends faster than a copy of the same pixels,
// and a clear one costs nothing): the pixels are the same.
void tile(QPainter& painter, const QRect& rows, const QPixmap& band);

// Whether pixels drawn aside can stand for what the painter would draw: it
// scales logical pixels to device pixels by one ratio on both axes and
// shifts them by whole device pixels, and it lays what it draws plainly over
// what is there (no opacity of its own, source-over).
bool drawsPlainly(const QPainter& painter);

// The painter's device pixels per logical pixel where it draws plainly, else 0.
qreal plainRatio(const QPainter& painter);

// The same where the painter may also shift by parts of a device pixel: for
// pictures that place themselves within their pixels.
qreal scaleRatio(const QPainter& painter);

// Whether every edge of `rect` lies on a whole pixel.
bool onWholePixels(const QRectF& rect);

// Makes the painter draw in device pixels (what it draws at a point lands on
// that device pixel), so pictures kept at the device's resolution are copied
// one to one. The caller saves and restores the painter around it.
void useDevicePixels(QPainter& painter);

} // namespace harborlite::SurfaceCache
