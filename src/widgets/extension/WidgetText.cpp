#include "widgets/extension/WidgetText.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace harborlite {

WidgetText::WidgetText(const QString& text, const QFont& font, const AdaptiveColor& color, qreal minimumScale,
                       QWidget* parent)
    : QWidget(parent), text_(text), color_(color), minimumScale_(minimumScale)
{
    setFont(font);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(text);
}

qreal WidgetText::fittingScale(qreal textWidth, qreal width, qreal minimumScale)
{
    if (textWidth <= width || textWidth <= 0) {
        return 1;
    }
    return std::max(minimumScale, width / textWidth);
}

void WidgetText::paintFitted(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
                             qreal minimumScale, Qt::Alignment alignment)
{
    QFont scaled = font;
    const qreal scale = fittingScale(QFontMetricsF(font).horizontalAdvance(text), rect.width(), minimumScale);
    if (scale < 1) {
        scaled.setPointSizeF(font.pointSizeF() * scale);
    }
    const QFontMetricsF metrics(scaled);
    painter.setFont(scaled);
    painter.drawText(rect, int(alignment | Qt::AlignVCenter | Qt::TextSingleLine),
                     metrics.elidedText(text, Qt::ElideRight, rect.width()));
}

QSize WidgetText::sizeHint() const
{
    return {static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(text_))) + 1,
            fontMetrics().height()};
}

QSize WidgetText::minimumSizeHint() const
{
    return {0, fontMetrics().height()};
}

void WidgetText::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(color_.resolve(Palette::appearance(this)));
    paintFitted(painter, QRectF(rect()), text_, font(), minimumScale_);
}

} // namespace harborlite
