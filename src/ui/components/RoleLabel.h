#pragma once

#include "paint/Palette.h"
#include "ui/theme/ShapedText.h"

#include <QLabel>

namespace harborlite {

// A text label coloured by a palette colour resolved each time it paints, so
// it follows the appearance without being told. Optionally one line, cut with
// an ellipsis when too long.
class RoleLabel : public QLabel {
    Q_OBJECT

public:
    RoleLabel(const QString& text, const AdaptiveColor& color, const QFont& font, QWidget* parent = nullptr);

    void setColor(const AdaptiveColor& color);
    const AdaptiveColor& color() const { return color_; }
    // One line cut to the width with an ellipsis, at the end or where `mode` says.
    void setElidedOnOneLine(bool elided, Qt::TextElideMode mode = Qt::ElideRight);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AdaptiveColor color_;
    bool elided_ = false;
    Qt::TextElideMode elideMode_ = Qt::ElideRight;
    // The text as last drawn, shaped, and the text and width it was cut from:
    // a label under a moving picture repaints with it, its text unchanged.
    ShapedText shaped_;
    QString shapedFrom_;
    int shapedWidth_ = -1;
};

} // namespace harborlite
