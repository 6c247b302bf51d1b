#pragma once

#include "paint/Palette.h"

#include <QFont>
#include <QWidget>

namespace harborlite {

// One line of text that shrinks its font down to `minimumScale` of its size
// when the width runs short, and only then is cut with an ellipsis.
class FittingLabel : public QWidget {
    Q_OBJECT

public:
    FittingLabel(const QFont& font, const AdaptiveColor& color, qreal minimumScale, QWidget* parent = nullptr);

    const QString& text() const { return text_; }
    void setText(const QString& text);

    // Leading unless set; the vertical part is always centred.
    void setAlignment(Qt::Alignment horizontal);
    Qt::Alignment alignment() const { return alignment_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    AdaptiveColor color_;
    qreal minimumScale_;
    Qt::Alignment alignment_ = Qt::AlignLeft;
};

} // namespace harborlite
