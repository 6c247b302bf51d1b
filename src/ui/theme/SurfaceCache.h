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
// surface onto a transparent image; `key` names everything else its look
// depends on.
//
// Only where logical pixels are device pixels but for a whole shift, the
// rectangle lies on whole pixels and the painter lays what it draws plainly
// over what is there (no opacity of its own) are the cached pixels those a
// direct drawing would give; elsewhere the surface is painted directly. A
// tall surface is kept as its top and bottom and a band of its middle rows,
// which are all the same.
using Painter = std::function<void(QPainter& painter, const QRectF& rect, qreal cornerRadius)>;
void draw(QPainter& painter, const QRectF& rect, qreal cornerRadius, const QString& key, const Painter& paint);

// The rounded rectangle filled with one colour, antialiased, through draw().
void fill(QPainter& painter, const QRectF& rect, qreal cornerRadius, const QColor& color);

// The ellipse inside `rect` filled with one colour, antialiased, through draw().
void disc(QPainter& painter, const QRectF& rect, const QColor& color);

// Lays `band`, whose rows are all alike and as wide as `rows`, over `rows`
// again and again. Where the band is one colour across, that colour is
// filled instead (a plain fill blends faster than a copy of the same pixels,
// and a clear one costs nothing): the pixels are the same.
void tile(QPainter& painter, const QRect& rows, const QPixmap& band);

// Whether a picture is worth keeping under `key`: one is kept there already,
// or it was asked for before. The first time, the key is only marked seen
// and the answer is no: a picture drawn once, as a screen first shows, is
// cheaper drawn directly than drawn aside and copied.
bool seenBefore(const QString& key);

// Whether pixels drawn aside can stand for what the painter would draw: its
// logical pixels are device pixels but for a whole shift, and it lays what it
// draws plainly over what is there (no opacity of its own, source-over).
bool drawsPlainly(const QPainter& painter);

} // namespace harborlite::SurfaceCache
