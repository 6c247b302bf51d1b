#include "ui/components/HeaderRow.h"

#include "ui/components/ScreenHeader.h"

#include <QHBoxLayout>

namespace harborlite {

HeaderRow::HeaderRow(const QString& title, const QString& subtitle, std::optional<QString> symbol, QWidget* parent)
    : QWidget(parent)
    , header_(new ScreenHeader(title, subtitle, std::move(symbol)))
    , controls_(new QHBoxLayout)
{
    setObjectName(QStringLiteral("headerRow"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(header_, 1, Qt::AlignTop);
    row->addSpacing(kMinimumGap);
    controls_->setContentsMargins(0, 0, 0, 0);
    controls_->setSpacing(kControlSpacing);
    row->addLayout(controls_);
    row->setAlignment(controls_, Qt::AlignTop);
}

void HeaderRow::addControl(QWidget* control)
{
    controls_->addWidget(control, 0, Qt::AlignVCenter);
}

} // namespace harborlite
