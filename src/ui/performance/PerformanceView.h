#pragma once

#include "ui/components/CoalescedRefresh.h"
#include "ui/performance/PerformancePresentation.h"

#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <map>
#include <vector>

class QHBoxLayout;
class QVBoxLayout;

namespace harborlite {

class CpuHistoryChart;
class MonitorFeed;
class ProcessRow;
class RoleLabel;
class ScreenFrame;
class StartupRow;
class StatTile;
class SystemTools;

// The Performance screen: the machine now (three or four tiles and the chart
// of the processor load seen while the screen is shown), the launch items
// with their switches, and the fifteen heaviest processes, applications
// among them with Quit and Force Quit. While it is shown it has the launch
// items read once and the processes sampled at once and every 4 s; hidden,
// it asks for nothing. Switching and quitting go through the system tools,
// which report failures as banners. While the pointer is over the process
// rows or a Quit is held, a new sample only refreshes the rows in place; they
// take their new order once it is let go, so nothing moves under a click.
class PerformanceView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaxColumnWidth = 980;
    static constexpr int kTileSpacing = 12;
    static constexpr int kGaugeSpacing = 14;
    static constexpr qreal kChartCornerRadius = 18;
    static constexpr int kChartPadding = 14;
    static constexpr int kChartSpacing = 7;
    static constexpr qreal kCardCornerRadius = 22;
    static constexpr int kCardPadding = 16;
    static constexpr int kCardSpacing = 10;
    static constexpr int kStartupRowSpacing = 3;
    static constexpr int kProcessRowSpacing = 2;

    PerformanceView(SystemTools& tools, MonitorFeed& feed, QWidget* parent = nullptr);

    const std::vector<double>& history() const { return history_; }
    const QList<StatTile*>& tiles() const { return tiles_; }
    const QList<StartupRow*>& startupRows() const { return startupRows_; }
    const QList<ProcessRow*>& processRows() const { return processRows_; }
    // Samples the processes every 4 s while the screen is shown.
    const QTimer& refreshTimer() const { return refreshTimer_; }

    // Follows the model now rather than at the next turn of the event loop.
    void refreshNow();
    // The process rows' area, which holds their order while the pointer is over it.
    QWidget* processList() const { return processBox_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* gauges();
    QWidget* startupSection();
    QWidget* processSection();
    void sampled();
    void showTiles(const QList<StatTileLook>& tiles);
    void showStartupItems();
    void showProcesses();
    // The pointer is over the process rows, or a row's Quit is held.
    bool processesHeld() const;
    void processesLetGo();

    SystemTools& tools_;
    MonitorFeed& feed_;
    ScreenFrame* frame_;
    QHBoxLayout* tileRow_ = nullptr;
    QList<StatTile*> tiles_;
    QList<StatTileLook> shownTiles_;
    CpuHistoryChart* chart_ = nullptr;
    RoleLabel* uptime_ = nullptr;
    RoleLabel* startupCount_ = nullptr;
    RoleLabel* noStartupItems_ = nullptr;
    QVBoxLayout* startupList_ = nullptr;
    QList<StartupRow*> startupRows_;
    QWidget* processBox_ = nullptr;
    QVBoxLayout* processList_ = nullptr;
    QList<ProcessRow*> processRows_;
    bool pointerOverProcesses_ = false;
    bool processOrderDeferred_ = false;
    std::vector<double> history_;
    double lastLoad_;
    QTimer refreshTimer_;
    CoalescedRefresh refresher_{this, [this] { refreshNow(); }};
};

} // namespace harborlite
