#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

#include <memory>

class QPainter;
class QTextLayout;

namespace harborlite {

// One line of text shaped once and drawn as often as asked, with the pixels
// QPainter::drawText(rect, flags, text) gives it in the same font: finding
// a text's glyphs costs more than drawing them, and a list draws the same
// texts again on every scroll step and click.
//
// A text that would not stay one plain line (line breaks, tabs, flags other
// than an alignment and Qt::TextSingleLine), one laid out right to left, or a
// painter whose device resolution or direction differs
// from the ones the text was shaped for, gets Qt's own drawText.
class ShapedText {
public:
    ShapedText() = default;
    ShapedText(const QString& text, const QFont& font, int flags, Qt::LayoutDirection direction = Qt::LeftToRight);

    // Draws the text within `rect` with the painter's pen.
    void draw(QPainter& painter, const QRectF& rect) const;

    const QString& text() const { return text_; }
    const QFont& font() const { return font_; }
    int flags() const { return flags_; }

private:
    QString text_;
    QFont font_;
    int flags_ = 0;
    Qt::LayoutDirection direction_ = Qt::LeftToRight;
    int dpi_ = 0;
    // Shared: a prepared row is copied, its glyphs need not be.
    std::shared_ptr<const QTextLayout> layout_;
};

} // namespace harborlite
