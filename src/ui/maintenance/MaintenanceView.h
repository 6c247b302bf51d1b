#pragma once

#include "engine/models/MaintenanceTask.h"
#include "engine/system/MaintenanceService.h"
#include "ui/components/CoalescedRefresh.h"
#include "ui/maintenance/MaintenancePresentation.h"

#include <QList>
#include <QWidget>

namespace harborlite {

class GlassPanel;
class MaintenanceCard;
class MonitorFeed;
class ScreenFrame;
class SystemTools;

// The maintenance screen: the header, the password notice, one card per task
// in a grid of columns at least 300 wide, and while the log holds anything
// the "Recent runs" panel with the eight newest runs. Running, the one-at-a-
// time rule and the log belong to the system tools; the screen asks whether
// each task's tool is an executable file every time it draws, and has the
// local snapshots measured when it is shown and whenever a run ends. Each
// sample of the monitor feed redraws it, so the relative times stay current.
class MaintenanceView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaxColumnWidth = 980;
    static constexpr int kGridMinColumn = 300;
    static constexpr int kGridSpacing = 12;
    static constexpr qreal kLogCornerRadius = 22;
    static constexpr qreal kRowCornerRadius = 11;
    static constexpr int kLogPadding = 18;
    static constexpr int kLogSpacing = 10;

    // `tasks` are the cards, in order; the machine's eight by default.
    MaintenanceView(SystemTools& tools, MonitorFeed& feed, QList<MaintenanceTask> tasks = MaintenanceService().tasks(),
                    QWidget* parent = nullptr);

    const QList<MaintenanceCard*>& cards() const { return cards_; }
    // The "Recent runs" panel; none while the log is empty.
    GlassPanel* recentRunsPanel() const { return recentRuns_; }
    // The rows the panel shows now.
    const QList<MaintenancePresentation::RecentRun>& recentRunRows() const { return rows_; }

    // Follows the system tools now rather than at the next turn of the event loop.
    void refreshNow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showRecentRuns(const QList<MaintenancePresentation::RecentRun>& rows);

    SystemTools& tools_;
    QList<MaintenanceTask> tasks_;
    ScreenFrame* frame_;
    QWidget* grid_ = nullptr;
    QList<MaintenanceCard*> cards_;
    GlassPanel* recentRuns_ = nullptr;
    QList<MaintenancePresentation::RecentRun> rows_;
    CoalescedRefresh refresher_{this, [this] { refreshNow(); }};
};

} // namespace harborlite
