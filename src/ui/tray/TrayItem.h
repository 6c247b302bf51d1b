#pragma once

#include "engine/models/MaintenanceTask.h"
#include "engine/system/MaintenanceService.h"
#include "ui/components/CoalescedRefresh.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class QSystemTrayIcon;

namespace harborlite {

class AppModel;
class MenuBarPanel;

// The monitor's place in the desktop's system tray: the brand mark, with the
// compact readings of the chosen monitors as its tool tip, present while the
// "show in menu bar" preference is on and the desktop has a tray. Activating
// it opens the panel under the icon (or closes the open one). The tray is
// looked for again every few seconds, so an icon appears when a tray starts
// after the application and goes when the tray ends; the panel stays open
// then until it is dismissed. Where the desktop has no tray nothing is shown,
// and the preference is left as the user set it.
class TrayItem : public QObject {
    Q_OBJECT

public:
    // Whether the desktop offers a system tray right now.
    using Availability = std::function<bool()>;
    static Availability systemTray();

    static constexpr int kTrayCheckMilliseconds = 3000;

    explicit TrayItem(AppModel& model, Availability available = systemTray(),
                      QList<MaintenanceTask> tasks = MaintenanceService().tasks(), QObject* parent = nullptr);
    ~TrayItem() override;

    bool isInserted() const { return icon_ != nullptr; }
    QSystemTrayIcon* icon() const { return icon_.get(); }
    // The open panel, if any.
    MenuBarPanel* panel() const;
    bool isPanelOpen() const;
    // The label's text shown as the icon's tool tip: the summary, or the
    // product name when no monitor is chosen.
    QString toolTip() const;

    // The timer that looks for the tray again; running while the preference is on.
    const QTimer& trayCheck() const { return trayCheck_; }

    // Inserts or removes the item to match the preference and the tray.
    void refresh();
    // Opens the panel at the icon (at the pointer's screen when the tray does
    // not say where the icon is), or closes it when it is open.
    void togglePanel();

signals:
    void openWindowRequested();
    void quitRequested();
    // The item came or went.
    void insertedChanged();
    // The panel went off screen.
    void panelClosed();

private:
    void updateToolTip();

    AppModel& model_;
    Availability available_;
    QList<MaintenanceTask> tasks_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    QPointer<MenuBarPanel> panel_;
    // A closed panel on its way out; it must not outlive the model it reads.
    QPointer<MenuBarPanel> closing_;
    QTimer trayCheck_;
    CoalescedRefresh tipRefresher_{this, [this] { updateToolTip(); }};
};

} // namespace harborlite
