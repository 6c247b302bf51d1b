#include "ui/monitor/WidgetsView.h"

#include "model/AppModel.h"
#include "ui/components/AdaptiveGrid.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/OverhangSlot.h"
#include "ui/components/ScreenFrame.h"
#include "ui/components/ScreenHeader.h"
#include "ui/monitor/DashboardCustomizer.h"
#include "ui/monitor/ModelMonitorInputs.h"
#include "ui/monitor/MonitorCard.h"
#include "ui/monitor/MonitorControls.h"

#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace harborlite {

std::vector<MonitorKind> WidgetsView::gridKinds(const MonitorSettings::Kinds& dashboard)
{
    std::vector<MonitorKind> kinds;
    std::copy_if(dashboard.begin(), dashboard.end(), std::back_inserter(kinds),
                 [](MonitorKind kind) { return kind != MonitorKind::processes; });
    return kinds;
}

std::vector<MonitorKind> WidgetsView::wideKinds(const MonitorSettings::Kinds& dashboard)
{
    std::vector<MonitorKind> kinds;
    std::copy_if(dashboard.begin(), dashboard.end(), std::back_inserter(kinds),
                 [](MonitorKind kind) { return kind == MonitorKind::processes; });
    return kinds;
}

int WidgetsView::processRefreshMilliseconds(double refreshInterval)
{
    return static_cast<int>(std::lround(std::max(4.0, 2 * refreshInterval) * 1000));
}

WidgetsView::WidgetsView(AppModel& model, QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , processRefresh_([this] { model_.refreshProcesses(); },
                      [this] { return processRefreshMilliseconds(model_.settings().refreshInterval()); }, this)
{
    setObjectName(QStringLiteral("widgetsView"));
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    frame_ = new ScreenFrame({kMaxColumnWidth, kSpacing, kPadding}, ScreenFrame::Scrolling::scrolls, this);
    whole->addWidget(frame_);

    frame_->addWidget(new ScreenHeader(
        tr("Widgets"), tr("Live monitors for the window top bar, this dashboard, the menu bar and your desktop."),
        QStringLiteral("square.grid.2x2")));
    controls_ = new MonitorControls(model_.settings(), model_.updates(), [this] { model_.setShowUpdateSheet(true); });
    frame_->addWidget(controls_);
    dashboardIndex_ = frame_->column()->count() - 1;
    customizer_ = new DashboardCustomizer(model_.settings());
    frame_->addWidget(customizer_);

    const auto request = [this] { refresher_.request(); };
    watchMonitorInputs(model_, this, request);
    connect(&model_.settings(), &Observable::didChange, this, request);
    connect(&model_.updates(), &Observable::didChange, this, request);
    refresh();
}

WidgetsView::~WidgetsView()
{
    unwatchMonitorInputs(model_, this);
    disconnect(&model_.settings(), nullptr, this, nullptr);
    disconnect(&model_.updates(), nullptr, this, nullptr);
}

void WidgetsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    model_.startMonitoring();
    processRefresh_.start();
}

void WidgetsView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    processRefresh_.stop();
}

void WidgetsView::refresh()
{
    refresher_.settle();
    const MonitorSettings::Kinds& dashboard = model_.settings().dashboard();
    if (!dashboardBuilt_ || dashboard != shownDashboard_) {
        rebuildDashboard(dashboard);
    }
    if (!gridCards_.empty() || !wideCards_.empty()) {
        const MonitorInputs inputs = monitorInputs(model_);
        const QList<RunningProcess>& listed = model_.processes();
        const std::vector<RunningProcess> processes(listed.begin(), listed.end());
        for (MonitorCard* card : gridCards_) {
            card->setValues(inputs, {});
        }
        for (MonitorCard* card : wideCards_) {
            card->setValues(inputs, processes);
        }
    }
    controls_->refresh();
    customizer_->refresh();
}

void WidgetsView::clearDashboard()
{
    // Made anew from the model's notifications, never from a card's own signal.
    for (QWidget* item : dashboardItems_) {
        delete item;
    }
    dashboardItems_.clear();
    gridCards_.clear();
    wideCards_.clear();
    emptyState_ = nullptr;
    gridSlot_ = nullptr;
}

void WidgetsView::insertDashboardItem(QWidget* item)
{
    frame_->column()->insertWidget(dashboardIndex_ + static_cast<int>(dashboardItems_.size()), item);
    dashboardItems_.push_back(item);
}

void WidgetsView::rebuildDashboard(const MonitorSettings::Kinds& dashboard)
{
    clearDashboard();
    shownDashboard_ = dashboard;
    dashboardBuilt_ = true;
    if (dashboard.empty()) {
        emptyState_ = new EmptyStateView(QStringLiteral("square.grid.2x2"), tr("No widgets on the dashboard"),
                                         tr("Turn some on below and they will appear here, updating live."),
                                         tr("Restore Defaults"), [this] { model_.settings().resetToDefaults(); });
        emptyState_->setObjectName(QStringLiteral("dashboardEmpty"));
        emptyState_->setMinimumHeight(kEmptyStateMinHeight);
        insertDashboardItem(emptyState_);
        return;
    }

    // Cards keep room for their shadows around their surfaces; the grid's
    // spacing and columns are measured between surfaces, so the room comes
    // off both.
    const QMargins overhang = MonitorCard::shadowMargins();
    const std::vector<MonitorKind> grid = gridKinds(dashboard);
    if (!grid.empty()) {
        auto* gridBox = new QWidget;
        gridBox->setObjectName(QStringLiteral("dashboardGrid"));
        auto* layout = new AdaptiveGrid(kMinColumnWidth + overhang.left() + overhang.right(),
                                        kGridSpacing - overhang.left() - overhang.right(), gridBox);
        layout->setRowSpacing(kGridSpacing - overhang.top() - overhang.bottom());
        for (const MonitorKind kind : grid) {
            auto* card = new MonitorCard(kind, gridBox);
            layout->addWidget(card);
            gridCards_.push_back(card);
        }
        gridSlot_ = new OverhangSlot(gridBox, overhang);
        gridSlot_->setObjectName(QStringLiteral("dashboardGridSlot"));
        insertDashboardItem(gridSlot_);
    }
    for (const MonitorKind kind : wideKinds(dashboard)) {
        auto* card = new MonitorCard(kind);
        wideCards_.push_back(card);
        auto* slot = new OverhangSlot(card, overhang);
        slot->setObjectName(QStringLiteral("wideCardSlot"));
        insertDashboardItem(slot);
    }
}

} // namespace harborlite
