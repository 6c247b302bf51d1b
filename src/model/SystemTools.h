#pragma once

#include "engine/models/CleanupReport.h"
#include "engine/models/InstalledApp.h"
#include "engine/models/MaintenanceTask.h"
#include "engine/models/RemovalMode.h"
#include "engine/models/RunningProcess.h"
#include "engine/models/StartupItem.h"
#include "engine/system/LocalSnapshots.h"
#include "engine/system/StorageBreakdown.h"
#include "model/BackgroundRunner.h"
#include "model/CancellationFlag.h"
#include "shared/Observable.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace harborlite {

struct MaintenanceResult;
struct UninstallPlan;

// What the tool screens read and start: the installed applications, launch
// items, processes, storage figures, local snapshots, the access probe and
// maintenance runs, shredding and uninstalling. Each read runs in the
// background and replaces its value when it ends; loading the applications,
// running maintenance, shredding and uninstalling refuse a second run while
// one is under way, so a screen made anew finds the run still going. Lives on
// the GUI thread.
class SystemTools : public Observable {
    Q_OBJECT
    Q_PROPERTY(QList<harborlite::InstalledApp> apps READ apps NOTIFY appsChanged)
    Q_PROPERTY(bool isLoadingApps READ isLoadingApps NOTIFY isLoadingAppsChanged)
    Q_PROPERTY(QList<harborlite::StartupItem> startupItems READ startupItems NOTIFY startupItemsChanged)
    Q_PROPERTY(QList<harborlite::RunningProcess> processes READ processes NOTIFY processesChanged)
    Q_PROPERTY(
        std::optional<harborlite::LocalSnapshots> localSnapshots READ localSnapshots NOTIFY localSnapshotsChanged)
    Q_PROPERTY(std::optional<harborlite::StorageBreakdown> storage READ storage NOTIFY storageChanged)
    Q_PROPERTY(bool hasFullDiskAccess READ hasFullDiskAccess NOTIFY hasFullDiskAccessChanged)
    Q_PROPERTY(QList<harborlite::SystemTools::MaintenanceLogEntry> maintenanceLog READ maintenanceLog NOTIFY
                   maintenanceLogChanged)
    Q_PROPERTY(std::optional<QString> runningMaintenance READ runningMaintenance NOTIFY runningMaintenanceChanged)
    Q_PROPERTY(bool isShredding READ isShredding NOTIFY isShreddingChanged)
    Q_PROPERTY(bool isUninstalling READ isUninstalling NOTIFY isUninstallingChanged)

public:
    // One maintenance run's outcome; the log keeps the newest first.
    struct MaintenanceLogEntry {
        QString id;
        QString message;
        bool isError = false;
        QDateTime at;
        // The task found nothing to work on: neither a failure nor a change.
        bool changedNothing = false;

        bool operator==(const MaintenanceLogEntry&) const = default;
    };

    // What a location holds now.
    struct Measurement {
        qint64 size = 0;
        std::optional<QDateTime> modified;

        bool operator==(const Measurement&) const = default;
    };

    // The part of the engine the tools call. Every function but `quit` is
    // called on a worker, several at once.
    struct Engine {
        using CancelTest = std::function<bool()>;

        // The installed applications with their sizes; measuring stops once
        // the test answers true (the tools going).
        std::function<QList<InstalledApp>(const CancelTest& isCancelled)> installedApps;
        std::function<bool()> hasFullDiskAccess;
        // The busiest processes, at most `limit`.
        std::function<QList<RunningProcess>(int limit)> topProcesses;
        // Asks the process to quit, or ends it when `force`; false when it is
        // not an application that can be asked or the request was refused.
        // Called on the GUI thread; must return at once.
        std::function<bool(const RunningProcess& process, bool force)> quit;
        std::function<QList<StartupItem>()> startupItems;
        // Throws ShellRunner::RunError when the item cannot be switched.
        std::function<void(bool enabled, const StartupItem& item)> setStartupItemEnabled;
        // The task's sentence for the user; throws ShellRunner::RunError (or
        // another std::exception) when it fails.
        std::function<MaintenanceResult(const MaintenanceTask& task)> runMaintenance;
        std::function<StorageBreakdown(const QString& volume)> storageBreakdown;
        std::function<LocalSnapshots(const QString& volume)> localSnapshots;
        // Removes the locations in order in the mode; never throws.
        std::function<CleanupReport(const QStringList& locations, bool userSelected, RemovalMode mode)> remove;
        // The size of a file or folder (packages descended into, links never
        // followed) and its modification date; none when nothing is there.
        std::function<std::optional<Measurement>(const QString& location)> measure;
        // What uninstalling the application would remove.
        std::function<UninstallPlan(const InstalledApp& app)> uninstallPlan;
        // Uninstalls as the plan says, in the mode; never throws.
        std::function<CleanupReport(const UninstallPlan& plan, RemovalMode mode)> uninstall;
    };

    // Services come from `engine`; work runs on `runner`.
    SystemTools(Engine engine, std::shared_ptr<BackgroundRunner> runner, QObject* parent = nullptr);
    // Stops measuring applications; whatever work returns later is dropped.
    ~SystemTools() override;

    SystemTools(const SystemTools&) = delete;
    SystemTools& operator=(const SystemTools&) = delete;

    const QList<InstalledApp>& apps() const { return apps_; }
    bool isLoadingApps() const { return isLoadingApps_; }
    const QList<StartupItem>& startupItems() const { return startupItems_; }
    const QList<RunningProcess>& processes() const { return processes_; }
    const std::optional<LocalSnapshots>& localSnapshots() const { return localSnapshots_; }
    const std::optional<StorageBreakdown>& storage() const { return storage_; }
    // True until a probe says otherwise.
    bool hasFullDiskAccess() const { return hasFullDiskAccess_; }
    const QList<MaintenanceLogEntry>& maintenanceLog() const { return maintenanceLog_; }
    const std::optional<QString>& runningMaintenance() const { return runningMaintenance_; }
    bool isShredding() const { return isShredding_; }
    bool isUninstalling() const { return isUninstalling_; }

    void loadApps();
    void loadStartupItems();
    void refreshProcesses();
    void refreshStorageBreakdown();
    void refreshLocalSnapshots();
    void refreshPermissions();
    // A failure raises a banner with the error; the items are reloaded either way.
    void setStartupItem(const StartupItem& item, bool enabled);
    void runMaintenance(const MaintenanceTask& task);
    // Asks the process to quit (ends it when `force`); a refusal raises a
    // banner. The processes are refreshed either way.
    void quit(const RunningProcess& process, bool force);

    // Measures each location on a worker, one job per location so a small
    // file is not held up by a large folder; `done` gets each location with
    // its measurement (none when nothing is there any more) while `receiver`
    // exists.
    void measureLocations(const QStringList& locations, QObject* receiver,
                          std::function<void(const QString& location, const std::optional<Measurement>&)> done);
    // Shreds the locations the user picked (the removal engine in shred mode,
    // user-selected) on a worker; `done` gets the report while the tools
    // exist, whether or not whoever asked is still there. Refused (false, and
    // `done` never called) while a shred runs.
    bool shred(const QStringList& locations, std::function<void(const CleanupReport&)> done);
    // Works out what uninstalling the application would remove, on a worker;
    // `done` gets the plan while `receiver` exists.
    void planUninstall(const InstalledApp& app, QObject* receiver, std::function<void(UninstallPlan)> done);
    // Uninstalls as the plan says in the mode, on a worker; `done` gets the
    // report while the tools exist. Refused (false, and `done` never called)
    // while an uninstall runs.
    bool uninstall(const UninstallPlan& plan, RemovalMode mode, std::function<void(const CleanupReport&)> done);

    // Raises a banner for the window, as the tools' own operations do.
    void raiseBanner(const QString& title, const QString& message, bool isError);

    // The workers, for the screens' own small jobs (loading icons).
    const std::shared_ptr<BackgroundRunner>& runner() const { return runner_; }

signals:
    void appsChanged();
    void isLoadingAppsChanged();
    void startupItemsChanged();
    void processesChanged();
    void localSnapshotsChanged();
    void storageChanged();
    void hasFullDiskAccessChanged();
    void maintenanceLogChanged();
    void runningMaintenanceChanged();
    void isShreddingChanged();
    void isUninstallingChanged();
    // A message for the window's transient banner.
    void bannerRaised(const QString& title, const QString& message, bool isError);

private:
    Engine engine_;

    QList<InstalledApp> apps_;
    bool isLoadingApps_ = false;
    QList<StartupItem> startupItems_;
    QList<RunningProcess> processes_;
    std::optional<LocalSnapshots> localSnapshots_;
    std::optional<StorageBreakdown> storage_;
    bool hasFullDiskAccess_ = true;
    QList<MaintenanceLogEntry> maintenanceLog_;
    std::optional<QString> runningMaintenance_;
    bool isShredding_ = false;
    bool isUninstalling_ = false;

    // Set when the tools go, so application sizing stops measuring.
    std::shared_ptr<CancellationFlag> closing_;
    // Last, so that it is released first.
    std::shared_ptr<BackgroundRunner> runner_;
};

} // namespace harborlite
