#include "ui/components/GlassCompatContainer.h"

#include <QVBoxLayout>

#include <cmath>

namespace harborlite {

GlassCompatContainer::GlassCompatContainer(qreal spacing, QWidget* parent)
    : QWidget(parent)
    , spacing_(spacing)
    , layout_(new QVBoxLayout(this))
{
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(static_cast<int>(std::lround(spacing)));
}

void GlassCompatContainer::addWidget(QWidget* child)
{
    layout_->addWidget(child, 0, Qt::AlignHCenter);
}

} // namespace harborlite
