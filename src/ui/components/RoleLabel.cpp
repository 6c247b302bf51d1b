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
    if (color == color_) {
        return;
    }
    color_ = color;
    update();
}

void RoleLabel::setElidedOnOneLine(bool elided, Qt::TextElideMode mode)
{
    if (elided == elided_ && !wordWrap()) {
        return;
    }
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
    const int flags =
        static_cast<int>(alignment()) | (elided_ ? Qt::TextSingleLine : (wordWrap() ? Qt::TextWordWrap : 0));
    const int width = elided_ ? area.width() : -1;
    if (shapedFrom_ != text() || shapedWidth_ != width || shaped_.flags() != flags || shaped_.font() != font()) {
        shaped_ = ShapedText(elided_ ? fontMetrics().elidedText(text(), elideMode_, area.width()) : text(), font(),
                             flags, layoutDirection());
        shapedFrom_ = text();
        shapedWidth_ = width;
    }
    shaped_.draw(painter, area);
}

} // namespace harborlite
