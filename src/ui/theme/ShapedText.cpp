#include "ui/theme/ShapedText.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QScreen>
#include <QTextLayout>

#include <cmath>

namespace harborlite {

namespace {

// The resolution a font without a device is measured at.
int defaultDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
}

// Characters drawText turns into spaces or line breaks before it shapes.
bool isOnePlainLine(const QString& text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t') || c == QChar(0x9c)
            || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            return false;
        }
    }
    return true;
}

// Where a text `width` wide starts in `room` under the alignment in `flags`.
qreal horizontalOffset(int flags, qreal room, qreal width)
{
    if (flags & Qt::AlignRight) {
        return room - width;
    }
    if (flags & Qt::AlignHCenter) {
        return (room - width) / 2;
    }
    return 0;
}

} // namespace

ShapedText::ShapedText(const QString& text, const QFont& font, int flags, Qt::LayoutDirection direction)
    : text_(text)
    , font_(font)
    , flags_(flags)
    , direction_(direction)
    , dpi_(defaultDpi())
{
    // Right to left, drawText mirrors the alignment first: left to Qt.
    const bool plainFlags = (flags & ~(Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask | Qt::TextSingleLine)) == 0;
    if (text.isEmpty() || !plainFlags || !isOnePlainLine(text) || direction == Qt::RightToLeft) {
        return;
    }
    // Laid out as drawText lays out a line it need not wrap.
    auto layout = std::make_shared<QTextLayout>(text, font);
    QTextOption option;
    option.setTextDirection(direction);
    option.setAlignment(Qt::AlignLeft);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    if (!line.isValid()) {
        layout->endLayout();
        return;
    }
    line.setLineWidth(0x01000000);
    line.setPosition(QPointF(0, 0));
    const bool oneLine = !layout->createLine().isValid();
    layout->endLayout();
    if (oneLine) {
        layout_ = std::move(layout);
    }
}

void ShapedText::draw(QPainter& painter, const QRectF& rect) const
{
    if (text_.isEmpty()) {
        return;
    }
    const QPaintDevice* device = painter.device();
    if (!layout_ || painter.layoutDirection() != direction_ || (device && device->logicalDpiY() != dpi_)) {
        painter.save();
        painter.setFont(font_);
        painter.drawText(rect, flags_, text_);
        painter.restore();
        return;
    }
    const QTextLine line = layout_->lineAt(0);
    // Unrounded, as drawText measures it (QTextLine::height() rounds up).
    const qreal height = line.ascent() + line.descent();
    qreal y = 0;
    if (flags_ & Qt::AlignBottom) {
        y = rect.height() - height;
    } else if (flags_ & Qt::AlignVCenter) {
        y = (rect.height() - height) / 2;
    }
    // The glyphs are placed by the line's advance; drawText clips to its
    // rectangle only when the text would leave it, judged by its natural width.
    const QPointF at(rect.x() + horizontalOffset(flags_, rect.width(), line.horizontalAdvance()), rect.y() + y);
    const qreal width = line.naturalTextWidth();
    if (!rect.contains(QRectF(rect.x() + horizontalOffset(flags_, rect.width(), width), at.y(), width, height))) {
        painter.save();
        painter.setClipRect(rect, Qt::IntersectClip);
        line.draw(&painter, at);
        painter.restore();
        return;
    }
    line.draw(&painter, at);
}

} // namespace harborlite
