#pragma once

#include "model/AppModelSetup.h"
#include "ui/shell/RootView.h"
#include "ui/tray/TrayItem.h"

#include <QObject>

#include <memory>
#include <optional>

class QAction;
class QMainWindow;
class QMenu;

namespace harborlite {

class DefaultsStore;

// The application: the one model every window and the tray share, the main
// window holding the root view with its menu commands, the tray item while
// the preference asks for it, and the start-up tasks (appearance, the daily
// update check) that run whenever the main window comes on screen. Closing the
// window quits unless the tray item is there to reach the application by.
class HarborliteApp : public QObject {
    Q_OBJECT

public:
    static constexpr int kMinimumWidth = 1000;
    static constexpr int kMinimumHeight = 680;
    static constexpr int kDefaultWidth = 1180;
    static constexpr int kDefaultHeight = 780;

    struct Setup {
        AppModel::Setup model;
        RootView::Setup root;
        TrayItem::Availability tray = TrayItem::systemTray();
        // The tasks the tray panel's menu runs.
        QList<MaintenanceTask> maintenanceTasks = MaintenanceService().tasks();
    };

    // `defaults` holds every preference and must outlive the application.
    explicit HarborliteApp(DefaultsStore& defaults, QObject* parent = nullptr);
    HarborliteApp(DefaultsStore& defaults, Setup setup, QObject* parent = nullptr);
    ~HarborliteApp() override;

    AppModel& model() const { return *model_; }
    QMainWindow* window() const { return window_.get(); }
    RootView* rootView() const { return root_; }
    TrayItem* tray() const { return tray_.get(); }
    QMenu* applicationMenu() const { return applicationMenu_; }
    QAction* checkForUpdatesAction() const { return checkForUpdates_; }
    QAction* quitAction() const { return quit_; }

    // Shows the main window (or brings it to the front) and runs the start-up tasks.
    void showWindow();

    // Forgets the last manual result, opens the update sheet and checks now.
    void checkForUpdates();

private:
    void buildMenu();
    void showAbout();
    void followTheme();
    void followTray();

    std::unique_ptr<AppModel> model_;
    std::unique_ptr<QMainWindow> window_;
    RootView* root_;
    std::unique_ptr<TrayItem> tray_;
    QMenu* applicationMenu_ = nullptr;
    QAction* about_ = nullptr;
    QAction* checkForUpdates_ = nullptr;
    QAction* quit_ = nullptr;
    std::optional<AppTheme> appliedTheme_;
    // The window has been shown once: before that, nothing is out of reach.
    bool started_ = false;
};

} // namespace harborlite
