#include "ui/monitor/FittingLabel.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace harborlite {

FittingLabel::FittingLabel(const QFont& font, const AdaptiveColor& color, qreal minimumScale, QWidget* parent)
    : QWidget(parent)
    , color_(color)
    , minimumScale_(minimumScale)
{
    setFont(font);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

qreal FittingLabel::fittingScale(qreal textWidth, qreal width, qreal minimumScale)
{
    if (textWidth <= width || textWidth <= 0) {
        return 1;
    }
    return std::max(minimumScale, width / textWidth);
}

void FittingLabel::setText(const QString& text)
{
    if (text == text_) {
        return;
    }
    text_ = text;
    updateGeometry();
    update();
}

void FittingLabel::setAlignment(Qt::Alignment horizontal)
{
    alignment_ = horizontal & Qt::AlignHorizontal_Mask;
    update();
}

QSize FittingLabel::sizeHint() const
{
    return {static_cast<int>(std::ceil(fontMetrics().horizontalAdvance(text_))) + 1, fontMetrics().height()};
}

QSize FittingLabel::minimumSizeHint() const
{
    return {0, fontMetrics().height()};
}

void FittingLabel::paintEvent(QPaintEvent*)
{
    QFont scaled = font();
    const qreal scale = fittingScale(fontMetrics().horizontalAdvance(text_), width(), minimumScale_);
    if (scale < 1) {
        scaled.setPointSizeF(font().pointSizeF() * scale);
    }
    const QFontMetricsF metrics(scaled);
    QPainter painter(this);
    painter.setFont(scaled);
    painter.setPen(color_.resolve(Palette::appearance(this)));
    painter.drawText(QRectF(rect()), alignment_ | Qt::AlignVCenter | Qt::TextSingleLine,
                     metrics.elidedText(text_, Qt::ElideRight, width()));
}

} // namespace harborlite
