#pragma once

#include "model/MonitorSettings.h"
#include "shared/MonitorKind.h"
#include "ui/components/CoalescedRefresh.h"
#include "ui/components/RepeatingTask.h"

#include <QWidget>

#include <vector>

namespace harborlite {

class AppModel;
class DashboardCustomizer;
class EmptyStateView;
class MonitorCard;
class MonitorControls;
class OverhangSlot;
class ScreenFrame;

// The Widgets destination: the header, the settings card, the dashboard of
// live monitor cards (a grid of every chosen kind but processes, then the
// processes card at full width; the empty state when nothing is chosen) and
// the customiser. While it is shown it keeps the monitoring loop running and
// reloads the processes at once and then every max(4 s, 2 × the refresh
// interval). It stores nothing of its own: every control writes a preference,
// and the cards are made anew only when the dashboard's list changes.
class WidgetsView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaxColumnWidth = 1000;
    static constexpr int kSpacing = 18;
    static constexpr int kPadding = 26;
    static constexpr int kMinColumnWidth = 280;
    static constexpr int kGridSpacing = 12;
    static constexpr int kEmptyStateMinHeight = 220;

    // The dashboard's kinds in the grid: every one but processes, in order.
    static std::vector<MonitorKind> gridKinds(const MonitorSettings::Kinds& dashboard);
    // The full-width cards below it: every processes entry.
    static std::vector<MonitorKind> wideKinds(const MonitorSettings::Kinds& dashboard);
    // The pause between process reloads: max(4 s, twice the refresh interval).
    static int processRefreshMilliseconds(double refreshInterval);

    explicit WidgetsView(AppModel& model, QWidget* parent = nullptr);
    ~WidgetsView() override;

    MonitorControls* controls() const { return controls_; }
    DashboardCustomizer* customizer() const { return customizer_; }
    // The empty state while the dashboard is empty; none otherwise.
    EmptyStateView* emptyState() const { return emptyState_; }
    const std::vector<MonitorCard*>& gridCards() const { return gridCards_; }
    const std::vector<MonitorCard*>& wideCards() const { return wideCards_; }
    // The grid's place in the column; none while the grid is empty.
    OverhangSlot* gridSlot() const { return gridSlot_; }
    ScreenFrame* frame() const { return frame_; }
    RepeatingTask& processRefresh() { return processRefresh_; }

    // Applies the model's state now instead of at the next turn of the event loop.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void rebuildDashboard(const MonitorSettings::Kinds& dashboard);
    void clearDashboard();
    void insertDashboardItem(QWidget* item);

    AppModel& model_;
    CoalescedRefresh refresher_{this, [this] { refresh(); }};
    RepeatingTask processRefresh_;
    ScreenFrame* frame_;
    MonitorControls* controls_;
    DashboardCustomizer* customizer_;
    int dashboardIndex_ = 0;
    std::vector<QWidget*> dashboardItems_;
    MonitorSettings::Kinds shownDashboard_;
    bool dashboardBuilt_ = false;
    EmptyStateView* emptyState_ = nullptr;
    OverhangSlot* gridSlot_ = nullptr;
    std::vector<MonitorCard*> gridCards_;
    std::vector<MonitorCard*> wideCards_;
};

} // namespace harborlite
