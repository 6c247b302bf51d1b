#include "ui/monitor/DashboardCustomizer.h"

#include "model/MonitorSettings.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/monitor/CustomizerRow.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace harborlite {

DashboardCustomizer::DashboardCustomizer(MonitorSettings& settings, QWidget* parent)
    : GlassPanel(kCornerRadius, std::nullopt, parent)
    , settings_(settings)
{
    setObjectName(QStringLiteral("customizer"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(10);

    auto* header = new QHBoxLayout;
    auto* title = new RoleLabel(tr("Dashboard widgets"), Palette::ink(), TypeStyle::sectionTitle(), this);
    title->setObjectName(QStringLiteral("title"));
    restore_ = new GlassCompatButton(tr("Restore Defaults"), false, Palette::accent(), this);
    restore_->setObjectName(QStringLiteral("restoreButton"));
    connect(restore_, &QAbstractButton::clicked, this, [this] { settings_.resetToDefaults(); });
    header->addWidget(title);
    header->addStretch(1);
    header->addWidget(restore_);
    column->addLayout(header);

    auto* rows = new QVBoxLayout;
    rows->setSpacing(4);
    for (size_t i = 0; i < MonitorKinds::allCases.size(); ++i) {
        auto* row = new CustomizerRow(MonitorKinds::allCases[i], this);
        connect(row, &CustomizerRow::toggleRequested, this,
                [this](MonitorKind kind) { settings_.toggle(kind, MonitorSettings::List::dashboard); });
        connect(row, &CustomizerRow::moveRequested, this, [this](MonitorKind kind, int offset) {
            settings_.move(kind, offset, MonitorSettings::List::dashboard);
        });
        rows->addWidget(row);
        rows_[i] = row;
    }
    column->addLayout(rows);
    refresh();
}

void DashboardCustomizer::refresh()
{
    const MonitorSettings::Kinds& dashboard = settings_.dashboard();
    for (CustomizerRow* row : rows_) {
        row->setState(CustomizerRow::state(row->kind(), dashboard));
    }
}

} // namespace harborlite
