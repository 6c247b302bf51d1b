#pragma once

#include "paint/Palette.h"

#include <QFont>
#include <QWidget>

namespace harborlite {

// A text in a palette colour that wraps onto at most `maximumLines` lines;
// what does not fit ends the last line with an ellipsis. Its height follows
// its width.
class ClampedLabel : public QWidget {
    Q_OBJECT

public:
    ClampedLabel(const QString& text, const AdaptiveColor& color, const QFont& font, int maximumLines,
                 QWidget* parent = nullptr);

    void setText(const QString& text);
    const QString& text() const { return text_; }
    void setColor(const AdaptiveColor& color);
    const AdaptiveColor& color() const { return color_; }
    int maximumLines() const { return maximumLines_; }

    // The lines as drawn at `width`: at most maximumLines(), the last one cut
    // with an ellipsis when the text goes on.
    QStringList lines(int width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    AdaptiveColor color_;
    int maximumLines_;
};

} // namespace harborlite
