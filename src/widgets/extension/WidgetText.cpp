#include "widgets/extension/WidgetText.h"

#include "paint/FittedText.h"

#include <QPainter>

#include <cmath>

namespace harborlite {

WidgetText::WidgetText(const QString& text, const QFont& font, const AdaptiveColor& color, qreal minimumScale,
                       QWidget* parent)
    : QWidget(parent)
    , text_(text)
    , color_(color)
    , minimumScale_(minimumScale)
{
    setFont(font);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(text);
}

QSize WidgetText::sizeHint() const
{
    return {static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(text_))) + 1, fontMetrics().height()};
}

QSize WidgetText::minimumSizeHint() const
{
    return {0, fontMetrics().height()};
}

void WidgetText::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(color_.resolve(Palette::appearance(this)));
    FittedText::paint(painter, QRectF(rect()), text_, font(), minimumScale_);
}

} // namespace harborlite
