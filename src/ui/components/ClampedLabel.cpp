#include "ui/components/ClampedLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace harborlite {

ClampedLabel::ClampedLabel(const QString& text, const AdaptiveColor& color, const QFont& font, int maximumLines,
                           QWidget* parent)
    : QWidget(parent)
    , text_(text)
    , color_(color)
    , maximumLines_(std::max(1, maximumLines))
{
    setFont(font);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setAccessibleName(text_);
}

void ClampedLabel::setText(const QString& text)
{
    if (text == text_) {
        return;
    }
    text_ = text;
    setAccessibleName(text_);
    updateGeometry();
    update();
}

void ClampedLabel::setColor(const AdaptiveColor& color)
{
    color_ = color;
    update();
}

QStringList ClampedLabel::lines(int width) const
{
    QStringList made;
    if (text_.isEmpty() || width <= 0) {
        return made;
    }
    // Line feeds in the text start new lines, as the layout's own separator does.
    QString text = text_;
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(text, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (made.size() + 1 == maximumLines_) {
            // The last line takes the rest of the text, cut to fit.
            const QString rest = text.mid(line.textStart()).simplified();
            made.append(QFontMetrics(font()).elidedText(rest, Qt::ElideRight, width));
            break;
        }
        made.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return made;
}

int ClampedLabel::heightForWidth(int width) const
{
    const qsizetype count = std::max<qsizetype>(1, lines(width).size());
    return static_cast<int>(count) * QFontMetrics(font()).lineSpacing();
}

QSize ClampedLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(text_);
    return {width, heightForWidth(std::max(1, width))};
}

QSize ClampedLabel::minimumSizeHint() const
{
    return {0, QFontMetrics(font()).lineSpacing()};
}

void ClampedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(color_.resolve(Palette::appearance(this)));
    const QFontMetrics metrics(font());
    int top = 0;
    for (const QString& line : lines(width())) {
        painter.drawText(QRect(0, top, width(), metrics.lineSpacing()), Qt::AlignLeft | Qt::AlignVCenter, line);
        top += metrics.lineSpacing();
    }
}

} // namespace harborlite
