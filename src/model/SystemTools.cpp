#include "model/SystemTools.h"

#include "engine/commands/ShellRunner.h"
#include "engine/models/MaintenanceResult.h"
#include "engine/models/UninstallPlan.h"
#include "platform/Clock.h"

namespace harborlite {

namespace {

constexpr int processLimit = 40;

const QString rootVolume = QStringLiteral("/");

} // namespace

SystemTools::SystemTools(Engine engine, std::shared_ptr<BackgroundRunner> runner, QObject* parent)
    : Observable(parent)
    , engine_(std::move(engine))
    , closing_(std::make_shared<CancellationFlag>())
    , runner_(std::move(runner))
{
}

SystemTools::~SystemTools()
{
    closing_->set();
}

void SystemTools::loadApps()
{
    if (isLoadingApps_) {
        return;
    }
    assign(isLoadingApps_, true, &SystemTools::isLoadingAppsChanged);
    runner_->run(
        TaskPriority::utility, this,
        [load = engine_.installedApps, closing = closing_] { return load([closing] { return closing->isSet(); }); },
        [this](QList<InstalledApp> apps) {
            assign(apps_, std::move(apps), &SystemTools::appsChanged);
            assign(isLoadingApps_, false, &SystemTools::isLoadingAppsChanged);
        });
}

void SystemTools::loadStartupItems()
{
    runner_->run(
        TaskPriority::utility, this, [load = engine_.startupItems] { return load(); },
        [this](QList<StartupItem> items) {
            assign(startupItems_, std::move(items), &SystemTools::startupItemsChanged);
        });
}

void SystemTools::refreshProcesses()
{
    runner_->run(
        TaskPriority::utility, this, [list = engine_.topProcesses] { return list(processLimit); },
        [this](QList<RunningProcess> processes) {
            assign(processes_, std::move(processes), &SystemTools::processesChanged);
        });
}

void SystemTools::refreshStorageBreakdown()
{
    runner_->run(
        TaskPriority::utility, this, [measure = engine_.storageBreakdown] { return measure(rootVolume); },
        [this](StorageBreakdown storage) {
            assign(storage_, std::optional<StorageBreakdown>(std::move(storage)), &SystemTools::storageChanged);
        });
}

void SystemTools::refreshLocalSnapshots()
{
    runner_->run(
        TaskPriority::utility, this, [measure = engine_.localSnapshots] { return measure(rootVolume); },
        [this](LocalSnapshots snapshots) {
            assign(localSnapshots_, std::optional<LocalSnapshots>(snapshots), &SystemTools::localSnapshotsChanged);
        });
}

void SystemTools::refreshPermissions()
{
    runner_->run(
        TaskPriority::utility, this, [probe = engine_.hasFullDiskAccess] { return probe(); },
        [this](bool granted) { assign(hasFullDiskAccess_, granted, &SystemTools::hasFullDiskAccessChanged); });
}

void SystemTools::setStartupItem(const StartupItem& item, bool enabled)
{
    runner_->run(
        TaskPriority::userInitiated, this,
        [change = engine_.setStartupItemEnabled, item, enabled]() -> std::optional<QString> {
            try {
                change(enabled, item);
                return std::nullopt;
            } catch (const ShellRunner::RunError& error) {
                return error.errorDescription();
            } catch (const std::exception& error) {
                return QString::fromUtf8(error.what());
            }
        },
        [this](std::optional<QString> error) {
            if (error) {
                emit bannerRaised(tr("Could not change startup item"), *error, true);
            }
            loadStartupItems();
        });
}

void SystemTools::runMaintenance(const MaintenanceTask& task)
{
    if (runningMaintenance_) {
        return;
    }
    assign(runningMaintenance_, std::optional<QString>(task.id), &SystemTools::runningMaintenanceChanged);
    struct Outcome {
        QString message;
        bool isError = false;
        bool cancelled = false;
        bool changedNothing = false;
    };
    runner_->run(
        TaskPriority::userInitiated, this,
        [run = engine_.runMaintenance, task] {
            try {
                const MaintenanceResult result = run(task);
                return Outcome{result.message, false, false, result.changedNothing};
            } catch (const ShellRunner::RunError& error) {
                return Outcome{error.errorDescription(), true, error.kind() == ShellRunner::RunError::Kind::cancelled};
            } catch (const std::exception& error) {
                return Outcome{QString::fromUtf8(error.what()), true, false};
            }
        },
        [this, id = task.id](Outcome outcome) {
            assign(runningMaintenance_, std::optional<QString>(), &SystemTools::runningMaintenanceChanged);
            if (outcome.cancelled) {
                return;
            }
            QList<MaintenanceLogEntry> log = maintenanceLog_;
            log.prepend({id, outcome.message, outcome.isError, platform::now(), outcome.changedNothing});
            assign(maintenanceLog_, std::move(log), &SystemTools::maintenanceLogChanged);
        });
}

void SystemTools::quit(const RunningProcess& process, bool force)
{
    if (!engine_.quit(process, force)) {
        emit bannerRaised(tr("Could not quit %1").arg(process.name),
                          tr("The process did not respond. Try Force Quit, or it may be a system process."), true);
    }
    refreshProcesses();
}

void SystemTools::raiseBanner(const QString& title, const QString& message, bool isError)
{
    emit bannerRaised(title, message, isError);
}

void SystemTools::measureLocations(const QStringList& locations, QObject* receiver,
                                   std::function<void(const QString&, const std::optional<Measurement>&)> done)
{
    for (const QString& location : locations) {
        runner_->run(
            TaskPriority::userInitiated, receiver, [measure = engine_.measure, location] { return measure(location); },
            [done, location](std::optional<Measurement> measurement) { done(location, measurement); });
    }
}

bool SystemTools::shred(const QStringList& locations, std::function<void(const CleanupReport&)> done)
{
    if (isShredding_) {
        return false;
    }
    assign(isShredding_, true, &SystemTools::isShreddingChanged);
    runner_->run(
        TaskPriority::userInitiated, this,
        [remove = engine_.remove, locations] { return remove(locations, true, RemovalMode::shred); },
        [this, done = std::move(done)](CleanupReport report) {
            assign(isShredding_, false, &SystemTools::isShreddingChanged);
            done(report);
        });
    return true;
}

void SystemTools::planUninstall(const InstalledApp& app, QObject* receiver, std::function<void(UninstallPlan)> done)
{
    runner_->run(
        TaskPriority::userInitiated, receiver, [plan = engine_.uninstallPlan, app] { return plan(app); },
        [done = std::move(done)](UninstallPlan plan) { done(std::move(plan)); });
}

bool SystemTools::uninstall(const UninstallPlan& plan, RemovalMode mode, std::function<void(const CleanupReport&)> done)
{
    if (isUninstalling_) {
        return false;
    }
    assign(isUninstalling_, true, &SystemTools::isUninstallingChanged);
    runner_->run(
        TaskPriority::userInitiated, this,
        [uninstall = engine_.uninstall, plan, mode] { return uninstall(plan, mode); },
        [this, done = std::move(done)](CleanupReport report) {
            assign(isUninstalling_, false, &SystemTools::isUninstallingChanged);
            done(report);
        });
    return true;
}

} // namespace harborlite
