#include "ui/monitor/MonitorControls.h"

#include "model/MonitorSettings.h"
#include "ui/components/HairlineDivider.h"
#include "ui/components/PopUpPicker.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/SwitchToggle.h"
#include "ui/monitor/AppearanceRow.h"
#include "ui/monitor/PlacementChipRow.h"
#include "ui/monitor/UpdatesRow.h"
#include "ui/theme/TypeStyle.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace harborlite {

QString MonitorControls::intervalTitle(double seconds)
{
    if (seconds < 2) {
        return QCoreApplication::translate("MonitorControls", "1 second");
    }
    return QCoreApplication::translate("MonitorControls", "%1 seconds").arg(static_cast<qlonglong>(seconds));
}

MonitorControls::MonitorControls(MonitorSettings& settings, UpdateChecker& updates,
                                 std::function<void()> openUpdateSheet, QWidget* parent)
    : GlassPanel(kCornerRadius, std::nullopt, parent)
    , settings_(settings)
{
    setObjectName(QStringLiteral("monitorControls"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(14);

    auto* first = new QHBoxLayout;
    first->setSpacing(14);
    menuBarSwitch_ =
        new SwitchToggle(settings_.showMenuBarMonitor(), SwitchToggle::ControlSize::regular, Palette::accent(), this);
    menuBarSwitch_->setObjectName(QStringLiteral("menuBarSwitch"));
    menuBarSwitch_->setLabel(
        SwitchToggle::Label{tr("Menu bar monitor"), TypeStyle::font(12.5, QFont::DemiBold),
                            tr("Shows live readings in the macOS menu bar, with a dropdown panel."),
                            TypeStyle::font(10.5, QFont::Normal), 1});
    connect(menuBarSwitch_, &SwitchToggle::flipped, this, [this](bool on) { settings_.setShowMenuBarMonitor(on); });
    first->addWidget(menuBarSwitch_, 0, Qt::AlignVCenter);
    first->addStretch(1);
    first->addSpacing(12);

    auto* refresh = new QVBoxLayout;
    refresh->setSpacing(3);
    auto* refreshTitle =
        new RoleLabel(tr("Refresh every"), Palette::inkSecondary(), TypeStyle::font(10.5, QFont::Medium), this);
    refreshTitle->setObjectName(QStringLiteral("refreshTitle"));
    QStringList titles;
    for (const double seconds : MonitorSettings::intervalChoices) {
        titles.append(intervalTitle(seconds));
    }
    picker_ = new PopUpPicker(titles, PopUpPicker::Kind::glass, this);
    picker_->setObjectName(QStringLiteral("intervalPicker"));
    picker_->setAccessibleName(tr("Refresh every"));
    picker_->setFixedWidth(kPickerWidth);
    connect(picker_, &PopUpPicker::activated, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(MonitorSettings::intervalChoices.size())) {
            settings_.setRefreshInterval(MonitorSettings::intervalChoices[static_cast<size_t>(index)]);
        }
    });
    refresh->addWidget(refreshTitle, 0, Qt::AlignRight);
    refresh->addWidget(picker_, 0, Qt::AlignRight);
    first->addLayout(refresh);
    column->addLayout(first);

    column->addWidget(new HairlineDivider(Qt::Horizontal, this));
    appearance_ = new AppearanceRow(settings_, this);
    column->addWidget(appearance_);
    column->addWidget(new HairlineDivider(Qt::Horizontal, this));
    updates_ = new UpdatesRow(updates, std::move(openUpdateSheet), this);
    column->addWidget(updates_);
    column->addWidget(new HairlineDivider(Qt::Horizontal, this));
    topBar_ = new PlacementChipRow(tr("Window top bar"), tr("Compact readouts pinned above every screen."),
                                   MonitorSettings::List::topBar, settings_, this);
    topBar_->setObjectName(QStringLiteral("topBarRow"));
    column->addWidget(topBar_);
    menuBar_ = new PlacementChipRow(tr("Menu bar"),
                                    tr("Values shown next to the menu bar icon. Two or three keeps it readable."),
                                    MonitorSettings::List::menuBar, settings_, this);
    menuBar_->setObjectName(QStringLiteral("menuBarRow"));
    column->addWidget(menuBar_);
    this->refresh();
}

void MonitorControls::refresh()
{
    const bool on = settings_.showMenuBarMonitor();
    if (menuBarSwitch_->isOn() != on) {
        menuBarSwitch_->setOn(on);
    }
    const auto& choices = MonitorSettings::intervalChoices;
    const auto found = std::find(choices.begin(), choices.end(), settings_.refreshInterval());
    const int index = found == choices.end() ? -1 : static_cast<int>(found - choices.begin());
    if (index >= 0 && picker_->currentIndex() != index) {
        const QSignalBlocker quiet(picker_);
        picker_->setCurrentIndex(index);
    }
    appearance_->refresh();
    updates_->refresh();
    topBar_->refresh();
    menuBar_->refresh();
}

} // namespace harborlite
