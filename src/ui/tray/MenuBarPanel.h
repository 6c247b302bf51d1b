#pragma once

#include "engine/models/MaintenanceTask.h"
#include "engine/models/RunningProcess.h"
#include "shared/MonitorKind.h"
#include "ui/components/CoalescedRefresh.h"
#include "ui/components/RepeatingTask.h"

#include <QList>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

class QAction;
class QMenu;
class QVBoxLayout;

namespace harborlite {

class AppModel;
class GlassCompatButton;
class PanelMonitorRow;
class PlainSymbolButton;
class ProcessDot;
class RoleLabel;

// The tray's panel: a frameless pop-up 348 wide, as tall as its content, on
// the canvas: the brand tile with the product name and the machine's uptime,
// a row for each of six monitors (whatever the settings say), the four
// heaviest processes and the actions (open the window, smart scan, and a menu
// with "Free Up Memory", "Flush DNS Cache" and "Quit Harborlite"). While it is
// on screen it keeps the monitoring loop running and asks for a process
// sample at once and every five seconds; nothing is asked while it is closed.
// Everything shown is read from the model at each of its changes.
class MenuBarPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 348;
    static constexpr int kProcessRows = 4;
    static constexpr int kRefreshMilliseconds = 5000;
    static constexpr qreal kCornerRadius = 12;
    // Between the panel and the tray icon or the screen's edge.
    static constexpr int kGap = 6;

    // Where the panel opens from: the tray icon's place on screen (empty when
    // the tray does not say) and the pointer.
    struct Anchor {
        QRect tray;
        QPoint cursor;
    };

    // The six monitors of the rows: every kind but processes, in their order.
    static std::vector<MonitorKind> panelKinds();
    // "Up " and the duration of a positive uptime, else "Monitoring".
    static QString statusLine(double uptime);
    // The first task with this id.
    static std::optional<MaintenanceTask> task(const QList<MaintenanceTask>& tasks, const QString& id);
    // The panel's top-left corner: centred under the tray icon (above it when
    // there is no room below), kept inside `screen`, the available area of the
    // icon's screen; without an icon place, at the top-right corner of
    // `screen`, then the available area of the pointer's screen.
    static QPoint placement(const QRect& tray, const QSize& size, const QRect& screen);

    // `tasks` are the maintenance tasks the menu's items look their ids up in.
    MenuBarPanel(AppModel& model, QList<MaintenanceTask> tasks, QWidget* parent = nullptr);
    ~MenuBarPanel() override;

    // Places the panel for `anchor` and shows it.
    void open(const Anchor& anchor);
    // Places the panel again, for a new height.
    void place();

    const std::array<PanelMonitorRow*, 6>& rows() const { return rows_; }
    RoleLabel* statusLabel() const { return status_; }
    RoleLabel* samplingLabel() const { return sampling_; }
    // The process rows shown now, heaviest first.
    int processRowCount() const { return static_cast<int>(processRows_.size()); }
    GlassCompatButton* openButton() const { return open_; }
    GlassCompatButton* smartScanButton() const { return smartScan_; }
    PlainSymbolButton* menuButton() const { return menuButton_; }
    QMenu* menu() const { return menu_; }
    QAction* freeMemoryAction() const { return freeMemory_; }
    QAction* flushDnsAction() const { return flushDns_; }
    QAction* quitAction() const { return quit_; }
    RepeatingTask& processRefresh() { return processRefresh_; }

    // Applies the model's state now instead of at the next turn of the event loop.
    void refresh();

signals:
    // "Open Harborlite", and "Smart Scan" before it routes: show the main window.
    void openWindowRequested();
    void quitRequested();
    // The panel went off screen.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct ProcessRow {
        QWidget* row;
        ProcessDot* dot;
        RoleLabel* name;
        RoleLabel* cpu;
    };

    QWidget* buildHeader();
    QWidget* buildRows();
    QWidget* buildProcesses();
    QWidget* buildActions();
    void showProcesses(const QList<RunningProcess>& processes);
    void addProcessRow();
    // Each task item is enabled only where its tool is installed; its tooltip
    // then names the missing tool.
    void showTaskAvailability();
    void runTask(const QString& id);
    void startSmartScan();

    AppModel& model_;
    QList<MaintenanceTask> tasks_;
    Anchor anchor_;
    CoalescedRefresh refresher_{this, [this] { refresh(); }};
    RepeatingTask processRefresh_;
    RoleLabel* status_ = nullptr;
    std::array<PanelMonitorRow*, 6> rows_{};
    QVBoxLayout* processLayout_ = nullptr;
    RoleLabel* sampling_ = nullptr;
    std::vector<ProcessRow> processRows_;
    GlassCompatButton* open_ = nullptr;
    GlassCompatButton* smartScan_ = nullptr;
    PlainSymbolButton* menuButton_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* freeMemory_ = nullptr;
    QAction* flushDns_ = nullptr;
    QAction* quit_ = nullptr;
};

} // namespace harborlite
