#pragma once

#include "paint/Palette.h"

#include <QFont>
#include <QString>
#include <QWidget>

namespace harborlite {

// One line of text in a palette colour. When the width runs short the font
// shrinks down to `minimumScale` of its size, and only then is the text cut
// with an ellipsis; it never wraps.
class WidgetText : public QWidget {
    Q_OBJECT

public:
    WidgetText(const QString& text, const QFont& font, const AdaptiveColor& color, qreal minimumScale = 1,
               QWidget* parent = nullptr);

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
