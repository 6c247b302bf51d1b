#pragma once

#include "paint/Palette.h"

#include <QFont>
#include <QString>
#include <QWidget>

class QPainter;

namespace harborlite {

// One line of text in a palette colour. When the width runs short the font
// shrinks down to `minimumScale` of its size, and only then is the text cut
// with an ellipsis; it never wraps.
class WidgetText : public QWidget {
    Q_OBJECT

public:
    WidgetText(const QString& text, const QFont& font, const AdaptiveColor& color, qreal minimumScale = 1,
               QWidget* parent = nullptr);

    // The scale (minimumScale...1) a text `textWidth` wide is drawn at in `width`.
    static qreal fittingScale(qreal textWidth, qreal width, qreal minimumScale);

    // Draws `text` in `rect` (left-aligned, vertically centred) by the rule above.
    static void paintFitted(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
                            qreal minimumScale, Qt::Alignment alignment = Qt::AlignLeft);

    const QString& text() const { return text_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    AdaptiveColor color_;
    qreal minimumScale_;
};

} // namespace harborlite
