#include "ui/components/HairlineDivider.h"

#include "paint/Palette.h"

#include <QPainter>

namespace harborlite {

HairlineDivider::HairlineDivider(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent)
    , orientation_(orientation)
{
    setObjectName(QStringLiteral("hairlineDivider"));
    if (orientation == Qt::Horizontal) {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setFixedWidth(1);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
}

void HairlineDivider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Palette::hairline().resolve(Palette::appearance(this)));
}

} // namespace harborlite
