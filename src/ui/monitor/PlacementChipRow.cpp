#include "ui/monitor/PlacementChipRow.h"

#include "ui/components/CapsuleChip.h"
#include "ui/components/RoleLabel.h"
#include "ui/theme/TypeStyle.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace harborlite {

std::array<MonitorKind, PlacementChipRow::kChipCount> PlacementChipRow::offeredKinds()
{
    return {MonitorKind::cpu,     MonitorKind::memory,  MonitorKind::storage,
            MonitorKind::network, MonitorKind::battery, MonitorKind::junk};
}

PlacementChipRow::PlacementChipRow(const QString& title, const QString& caption, MonitorSettings::List list,
                                   MonitorSettings& settings, QWidget* parent)
    : QWidget(parent)
    , settings_(settings)
    , list_(list)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(7);

    auto* header = new QHBoxLayout;
    header->setSpacing(7);
    auto* titleLabel = new RoleLabel(title, Palette::ink(), TypeStyle::font(12, QFont::DemiBold), this);
    titleLabel->setObjectName(QStringLiteral("title"));
    auto* captionLabel = new RoleLabel(caption, Palette::inkTertiary(), TypeStyle::font(10.5, QFont::Normal), this);
    captionLabel->setObjectName(QStringLiteral("caption"));
    captionLabel->setElidedOnOneLine(true);
    captionLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    header->addWidget(titleLabel);
    header->addWidget(captionLabel, 1);
    column->addLayout(header);

    auto* chips = new QHBoxLayout;
    chips->setSpacing(6);
    const auto kinds = offeredKinds();
    for (size_t i = 0; i < kinds.size(); ++i) {
        const MonitorKind kind = kinds[i];
        auto* chip = new CapsuleChip(symbol(kind), harborlite::title(kind), false, CapsuleChip::Metrics::small(), this);
        chip->setObjectName(QStringLiteral("chip-") + rawValue(kind));
        connect(chip, &QAbstractButton::clicked, this, [this, kind] { settings_.toggle(kind, list_); });
        chips->addWidget(chip);
        chips_[i] = chip;
    }
    chips->addStretch(1);
    column->addLayout(chips);
    refresh();
}

void PlacementChipRow::refresh()
{
    const MonitorSettings::Kinds& chosen = settings_.kinds(list_);
    const auto kinds = offeredKinds();
    for (size_t i = 0; i < kinds.size(); ++i) {
        const bool selected = std::find(chosen.begin(), chosen.end(), kinds[i]) != chosen.end();
        if (chips_[i]->isSelected() != selected) {
            chips_[i]->setSelected(selected);
        }
    }
}

} // namespace harborlite
