#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

// One line of text that shrinks its font down to `minimumScale` of its size
// when the width runs short, and only then is cut with an ellipsis; it never
// wraps.
namespace harborlite::FittedText {

// The scale (minimumScale...1) a text `textWidth` wide is drawn at in `width`:
// 1 when it fits or is empty.
qreal scale(qreal textWidth, qreal width, qreal minimumScale);

// Draws `text` in `rect`, vertically centred, in the painter's pen.
void paint(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font, qreal minimumScale,
           Qt::Alignment alignment = Qt::AlignLeft);

} // namespace harborlite::FittedText
