#include "ui/components/RoleLabel.h"

#include <QPainter>

namespace harborlite {

RoleLabel::RoleLabel(const QString& text, const AdaptiveColor& color, const QFont& font, QWidget* parent)
    : QLabel(text, parent)
    , color_(color)
{
    setFont(font);
    setTextFormat(Qt::PlainText);
}

void RoleLabel::setColor(const AdaptiveColor& color)
{
    color_ = color;
    update();
}

void RoleLabel::setElidedOnOneLine(bool elided, Qt::TextElideMode mode)
{
    elided_ = elided;
    elideMode_ = mode;
    setWordWrap(false);
    setSizePolicy(elided ? QSizePolicy::Ignored : QSizePolicy::Preferred, sizePolicy().verticalPolicy());
    updateGeometry();
}

QSize RoleLabel::minimumSizeHint() const
{
    if (elided_) {
        return {0, fontMetrics().height()};
    }
    return QLabel::minimumSizeHint();
}

void RoleLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(color_.resolve(Palette::appearance(this)));
    const QRect area = contentsRect();
    if (elided_) {
        painter.drawText(area, static_cast<int>(alignment()) | Qt::TextSingleLine,
                         fontMetrics().elidedText(text(), elideMode_, area.width()));
        return;
    }
    painter.drawText(area, static_cast<int>(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0), text());
}

} // namespace harborlite
