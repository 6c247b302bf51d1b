#include "ui/components/ThinScrollBar.h"

#include "paint/Palette.h"
#include "ui/theme/Shapes.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>

namespace harborlite {

ThinScrollBar::ThinScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent)
{
    setAttribute(Qt::WA_Hover);
}

QRectF ThinScrollBar::knob() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    // The style's own slider rectangle, so the knob sits where a drag takes it.
    const QRectF slider(style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this));
    const qreal thickness = underMouse() ? kHoveredKnobThickness : kKnobThickness;
    if (orientation() == Qt::Horizontal) {
        return {slider.left() + 1, (height() - thickness) / 2, std::max<qreal>(0, slider.width() - 2), thickness};
    }
    return {(width() - thickness) / 2, slider.top() + 1, thickness, std::max<qreal>(0, slider.height() - 2)};
}

QSize ThinScrollBar::sizeHint() const
{
    const QSize hint = QScrollBar::sizeHint();
    return orientation() == Qt::Horizontal ? QSize(hint.width(), kThickness) : QSize(kThickness, hint.height());
}

void ThinScrollBar::paintEvent(QPaintEvent*)
{
    if (maximum() <= minimum()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = Palette::inkTertiary().resolve(Palette::appearance(this));
    painter.fillPath(Shapes::capsule(knob()), Shapes::faded(ink, underMouse() ? kHoveredOpacity : kOpacity));
}

} // namespace harborlite
