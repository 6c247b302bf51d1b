#include "ui/monitor/FittingLabel.h"

#include "paint/FittedText.h"

#include <QPainter>

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
    QPainter painter(this);
    painter.setPen(color_.resolve(Palette::appearance(this)));
    FittedText::paint(painter, QRectF(rect()), text_, font(), minimumScale_, alignment_);
}

} // namespace harborlite
