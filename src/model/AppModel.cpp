#include "model/AppModel.h"

#include "engine/services/ShellRunner.h"
#include "platform/Clock.h"
#include "shared/DefaultsStore.h"
#include "shared/Formatting.h"
#include "model/GuiThread.h"
#include "model/ProgressChannel.h"

#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace harborlite {

namespace {

using ScanChannel = ProgressChannel<ScanProgress, CategoryResult>;
using TreeChannel = ProgressChannel<AppModel::TreeProgress, DiskNode>;

// Unread progress values kept for the GUI thread.
constexpr std::size_t scanProgressBuffer = 4;
constexpr std::size_t treeProgressBuffer = 2;

// The smart scan's share of the whole for one category.
constexpr double smartScanShare = 0.125;

constexpr double shortestInterval = 0.5;
constexpr double networkScaleFloor = 1'000'000;
constexpr int processLimit = 40;

const QString rootVolume = QStringLiteral("/");

QString ellipsis()
{
    return QString(QChar(0x2026));
}

void waitThenTick(QObject* context, double seconds, std::function<void()> tick)
{
    const auto wait = std::chrono::milliseconds(std::llround(seconds * 1000));
    QTimer::singleShot(wait, context, std::move(tick));
}

QString cleanupMessage(const CleanupReport& report)
{
    QString message = Format::byteText(report.reclaimed) + QStringLiteral(" reclaimed from ") +
                      QString::number(report.removed) + QStringLiteral(" item(s).");
    if (!report.failures.isEmpty()) {
        message += QLatin1Char(' ') + QString::number(report.failures.size()) +
                   QStringLiteral(" item(s) were protected and left alone.");
    }
    return message;
}

} // namespace

// The smart scan in flight: its generation, its stop flag and the channel of
// the category it is scanning, whose progress "Stop" silences.
struct AppModel::SmartScanRun {
    quint64 generation = 0;
    std::shared_ptr<CancellationFlag> flag;
    std::shared_ptr<ScanChannel> channel;
};

AppModel::AppModel(DefaultsStore& defaults, QObject* parent) : AppModel(defaults, Setup{}, parent) {}

AppModel::AppModel(DefaultsStore& defaults, Setup setup, QObject* parent)
    : Observable(parent),
      defaults_(defaults),
      engine_(std::move(setup.engine)),
      route_(restoredRoute(defaults)),
      smartScanMessage_(QStringLiteral("Ready to scan")),
      settings_(std::make_unique<MonitorSettings>(defaults)),
      updates_(std::make_unique<UpdateChecker>(setup.updateConfiguration, setup.bundleInformation, defaults,
                                               setup.systemVersion, std::move(setup.updateSettings))),
      sampler_(engine_.makeSampler()),
      scheduleTick_(setup.scheduleTick ? std::move(setup.scheduleTick) : TickScheduler(waitThenTick)),
      closing_(std::make_shared<CancellationFlag>()),
      runner_(setup.runner ? std::move(setup.runner) : std::make_shared<BackgroundRunner>())
{
    forwardChanges(settings_.get());
    forwardChanges(updates_.get());
}

AppModel::~AppModel()
{
    for (auto& entry : categoryRuns_) {
        entry.second.cancel();
    }
    smartRuns_.cancel();
    treeRuns_.cancel();
    closing_->set();
}

void AppModel::setRoute(Route route)
{
    set(route_, route, &AppModel::routeChanged);
}

void AppModel::persistRoute()
{
    harborlite::persistRoute(defaults_, route_);
}

void AppModel::setCleanupMode(Remover::Mode mode)
{
    set(cleanupMode_, mode, &AppModel::cleanupModeChanged);
}

void AppModel::setShowUpdateSheet(bool show)
{
    set(showUpdateSheet_, show, &AppModel::showUpdateSheetChanged);
}

void AppModel::setBanner(std::optional<Banner> banner)
{
    set(banner_, std::move(banner), &AppModel::bannerChanged);
}

// Scans ----------------------------------------------------------------------

void AppModel::scan(ScanCategory category)
{
    if (runningCategories_.contains(category)) {
        return;
    }
    insertRunning(category);
    setProgressEntry(category, {0, QStringLiteral("Starting") + ellipsis(), 0});
    runScanner(category, nullptr, {}, {});
}

void AppModel::runScanner(ScanCategory category, const std::shared_ptr<CancellationFlag>& extraFlag,
                          std::function<void(const ScanProgress&)> onProgress, std::function<void()> onResult)
{
    const RunGeneration::Run run = categoryRuns_[category].start();
    const quint64 generation = run.generation;
    auto channel = ScanChannel::open(
        scanProgressBuffer, this,
        [this, category, generation, onProgress = std::move(onProgress)](ScanProgress value) {
            if (!categoryRuns_[category].isCurrent(generation)) {
                return;
            }
            setProgressEntry(category, value);
            if (onProgress) {
                onProgress(value);
            }
        },
        [this, category, generation, onResult = std::move(onResult)](CategoryResult result) {
            if (categoryRuns_[category].isCurrent(generation)) {
                storeResult(category, std::move(result));
                removeRunning(category);
            }
            if (onResult) {
                onResult();
            }
        });
    if (smartScan_ && extraFlag == smartScan_->flag) {
        smartScan_->channel = channel;
    }
    std::shared_ptr<const CategoryScanner> scanner = engine_.scanner(category);
    CancelPredicate isCancelled = [flag = run.flag, extraFlag] {
        return flag->isSet() || (extraFlag && extraFlag->isSet());
    };
    runner_->start(TaskPriority::utility, [scanner, channel, isCancelled = std::move(isCancelled)] {
        channel->finish(scanner->scan([channel](const ScanProgress& value) { channel->send(value); }, isCancelled));
    });
}

void AppModel::startSmartScan()
{
    if (isSmartScanning_) {
        return;
    }
    set(isSmartScanning_, true, &AppModel::isSmartScanningChanged);
    set(smartScanProgress_, 0.0, &AppModel::smartScanProgressChanged);
    const RunGeneration::Run run = smartRuns_.start();
    smartScan_ = std::make_unique<SmartScanRun>(SmartScanRun{run.generation, run.flag, nullptr});
    smartScanStep(run.generation, 0);
}

void AppModel::smartScanStep(quint64 generation, std::size_t index)
{
    if (!smartRuns_.isCurrent(generation)) {
        return;
    }
    if (index == ScanCategories::smartScan.size() || smartScan_->flag->isSet()) {
        finishSmartScan(generation);
        return;
    }
    const ScanCategory category = ScanCategories::smartScan[index];
    insertRunning(category);
    set(smartScanMessage_, QStringLiteral("Scanning ") + title(category) + ellipsis(),
        &AppModel::smartScanMessageChanged);
    const double base = double(index) * smartScanShare;
    runScanner(
        category, smartScan_->flag,
        [this, generation, base](const ScanProgress& value) {
            if (!smartRuns_.isCurrent(generation)) {
                return;
            }
            set(smartScanProgress_, base + value.fraction * smartScanShare, &AppModel::smartScanProgressChanged);
            set(smartScanMessage_, value.message, &AppModel::smartScanMessageChanged);
        },
        [this, generation, index] { smartScanStep(generation, index + 1); });
}

void AppModel::finishSmartScan(quint64 generation)
{
    if (!smartRuns_.isCurrent(generation)) {
        return;
    }
    const bool cancelled = smartScan_->flag->isSet();
    set(smartScanProgress_, 1.0, &AppModel::smartScanProgressChanged);
    set(smartScanMessage_, cancelled ? QStringLiteral("Scan cancelled") : QStringLiteral("Scan complete"),
        &AppModel::smartScanMessageChanged);
    set(isSmartScanning_, false, &AppModel::isSmartScanningChanged);
    set(lastSmartScan_, std::optional<QDateTime>(platform::now()), &AppModel::lastSmartScanChanged);
    smartScan_->channel.reset();
}

void AppModel::cancelScan()
{
    for (auto& entry : categoryRuns_) {
        entry.second.cancel();
    }
    smartRuns_.cancel();
    if (smartScan_ && smartScan_->channel) {
        smartScan_->channel->stopValues();
    }
    treeRuns_.cancel();
    set(isSmartScanning_, false, &AppModel::isSmartScanningChanged);
    set(runningCategories_, Categories{}, &AppModel::runningCategoriesChanged);
    set(isBuildingTree_, false, &AppModel::isBuildingTreeChanged);
    set(smartScanMessage_, QStringLiteral("Scan cancelled"), &AppModel::smartScanMessageChanged);
}

void AppModel::storeResult(ScanCategory category, CategoryResult result)
{
    Results results = results_;
    results.insert_or_assign(category, std::move(result));
    set(results_, std::move(results), &AppModel::resultsChanged);
}

void AppModel::insertRunning(ScanCategory category)
{
    Categories running = runningCategories_;
    running.insert(category);
    set(runningCategories_, std::move(running), &AppModel::runningCategoriesChanged);
}

void AppModel::removeRunning(ScanCategory category)
{
    Categories running = runningCategories_;
    running.erase(category);
    set(runningCategories_, std::move(running), &AppModel::runningCategoriesChanged);
}

void AppModel::setProgressEntry(ScanCategory category, const ScanProgress& value)
{
    ProgressTable table = progress_;
    table.insert_or_assign(category, value);
    set(progress_, std::move(table), &AppModel::progressChanged);
}

// Selection and cleanup -----------------------------------------------------

std::optional<CategoryResult> AppModel::result(ScanCategory category) const
{
    const auto found = results_.find(category);
    if (found == results_.end()) {
        return std::nullopt;
    }
    return found->second;
}

void AppModel::editResult(ScanCategory category, const std::function<bool(CategoryResult&)>& edit)
{
    std::optional<CategoryResult> copy = result(category);
    if (!copy || !edit(*copy)) {
        return;
    }
    storeResult(category, std::move(*copy));
}

void AppModel::toggleItem(const ScanItem& item, ScanCategory category)
{
    editResult(category, [&item](CategoryResult& result) {
        for (ScanGroup& group : result.groups) {
            for (ScanItem& candidate : group.items) {
                if (candidate.id == item.id) {
                    candidate.isSelected = !candidate.isSelected;
                    return true;
                }
            }
        }
        return true;
    });
}

void AppModel::toggleGroup(const ScanGroup& group, ScanCategory category)
{
    editResult(category, [&group](CategoryResult& result) {
        const auto found = std::find_if(result.groups.begin(), result.groups.end(),
                                        [&group](const ScanGroup& candidate) { return candidate.id == group.id; });
        if (found == result.groups.end()) {
            return false;
        }
        if (found->items.isEmpty()) {
            return true;
        }
        const bool select = found->selectionState() != ScanGroup::SelectionState::all;
        for (ScanItem& item : found->items) {
            item.isSelected = select;
        }
        return true;
    });
}

void AppModel::setExpanded(bool expanded, const ScanGroup& group, ScanCategory category)
{
    editResult(category, [&group, expanded](CategoryResult& result) {
        const auto found = std::find_if(result.groups.begin(), result.groups.end(),
                                        [&group](const ScanGroup& candidate) { return candidate.id == group.id; });
        if (found == result.groups.end()) {
            return false;
        }
        found->isExpanded = expanded;
        return true;
    });
}

qint64 AppModel::totalJunk() const
{
    qint64 total = 0;
    for (ScanCategory category : ScanCategories::smartScan) {
        const auto found = results_.find(category);
        if (found != results_.end()) {
            total += found->second.totalSize();
        }
    }
    return total;
}

qint64 AppModel::reclaimable() const
{
    qint64 total = 0;
    for (const auto& [category, result] : results_) {
        total += result.totalSize();
    }
    return total;
}

void AppModel::clean(const QList<ScanCategory>& categories)
{
    if (isCleaning_) {
        return;
    }
    QStringList locations;
    for (ScanCategory category : categories) {
        const auto found = results_.find(category);
        if (found == results_.end()) {
            continue;
        }
        for (const ScanGroup& group : found->second.groups) {
            for (const ScanItem& item : group.items) {
                if (item.isSelected) {
                    locations.append(item.url);
                }
            }
        }
    }
    if (locations.isEmpty()) {
        return;
    }
    const bool userSelected = categories.contains(ScanCategory::largeAndOld);
    set(isCleaning_, true, &AppModel::isCleaningChanged);
    const Remover::Mode mode = cleanupMode_;
    runner_->run(
        TaskPriority::userInitiated, this,
        [remove = engine_.remove, locations, userSelected, mode] { return remove(locations, userSelected, mode); },
        [this, categories](CleanupReport report) {
            set(isCleaning_, false, &AppModel::isCleaningChanged);
            const QString title = report.failures.isEmpty() ? QStringLiteral("Cleanup complete")
                                                            : QStringLiteral("Cleanup finished with skips");
            const QString message = cleanupMessage(report);
            set(lastReport_, std::optional<CleanupReport>(std::move(report)), &AppModel::lastReportChanged);
            Results results = results_;
            for (ScanCategory category : categories) {
                results.erase(category);
            }
            set(results_, std::move(results), &AppModel::resultsChanged);
            showBanner(title, message, false);
        });
}

void AppModel::showBanner(const QString& title, const QString& message, bool isError)
{
    setBanner(Banner{QUuid::createUuid(), title, message, isError});
}

// Monitoring ----------------------------------------------------------------

void AppModel::startMonitoring()
{
    if (isMonitoring_) {
        return;
    }
    isMonitoring_ = true;
    refreshSnapshot();
    scheduleNextTick();
}

void AppModel::scheduleNextTick()
{
    const double interval = std::max(shortestInterval, settings_->refreshInterval());
    scheduleTick_(this, interval, [this] {
        refreshSnapshot();
        scheduleNextTick();
    });
}

void AppModel::refreshSnapshot()
{
    if (isSampling_) {
        return;
    }
    isSampling_ = true;
    runner_->runSampling(this, [sampler = sampler_] { return sampler(); },
                         [this](SystemSnapshot snapshot) {
                             isSampling_ = false;
                             apply(snapshot);
                         });
}

void AppModel::apply(const SystemSnapshot& snapshot)
{
    set(snapshot_, snapshot, &AppModel::snapshotChanged);
    append(snapshot.cpuUsage, cpuSeries_, &AppModel::cpuSeriesChanged);
    append(snapshot.memoryTotal > 0 ? double(snapshot.memoryUsed) / double(snapshot.memoryTotal) : 0.0,
           memorySeries_, &AppModel::memorySeriesChanged);
    append(double(snapshot.networkIn), networkInSeries_, &AppModel::networkInSeriesChanged);
    append(double(snapshot.networkOut), networkOutSeries_, &AppModel::networkOutSeriesChanged);
    const double used = double(std::max<qint64>(0, snapshot.diskTotal - snapshot.diskFree));
    append(snapshot.diskTotal > 0 ? used / double(snapshot.diskTotal) : 0.0, storageSeries_,
           &AppModel::storageSeriesChanged);
}

void AppModel::append(double value, QList<double>& series, void (AppModel::*changed)())
{
    QList<double> next = series;
    next.append(value);
    if (next.size() > seriesLength) {
        next.remove(0, next.size() - seriesLength);
    }
    set(series, std::move(next), changed);
}

double AppModel::networkScale() const
{
    double scale = networkScaleFloor;
    for (const QList<double>* series : {&networkInSeries_, &networkOutSeries_}) {
        for (double value : *series) {
            scale = std::max(scale, value);
        }
    }
    return scale;
}

// Disk map ------------------------------------------------------------------

void AppModel::buildDiskTree(const QString& root)
{
    if (isBuildingTree_) {
        return;
    }
    set(expandedChildren_, Listings{}, &AppModel::expandedChildrenChanged);
    set(expandingDirectories_, Locations{}, &AppModel::expandingDirectoriesChanged);
    set(isBuildingTree_, true, &AppModel::isBuildingTreeChanged);
    set(treeProgress_, TreeProgress{}, &AppModel::treeProgressChanged);
    const RunGeneration::Run run = treeRuns_.start();
    const quint64 generation = run.generation;
    auto channel = TreeChannel::open(
        treeProgressBuffer, this,
        [this, generation](TreeProgress value) {
            if (treeRuns_.isCurrent(generation)) {
                set(treeProgress_, std::move(value), &AppModel::treeProgressChanged);
            }
        },
        [this, generation](DiskNode tree) {
            if (!treeRuns_.isCurrent(generation)) {
                return;
            }
            set(diskTree_, std::optional<DiskNode>(std::move(tree)), &AppModel::diskTreeChanged);
            set(isBuildingTree_, false, &AppModel::isBuildingTreeChanged);
        });
    runner_->start(TaskPriority::utility,
                   [build = engine_.buildDiskTree, root, channel, isCancelled = run.isCancelled()] {
                       channel->finish(build(
                           root,
                           [channel](double fraction, const QString& name) {
                               channel->send({fraction, name});
                           },
                           isCancelled));
                   });
}

void AppModel::expandChildren(const DiskNode& node)
{
    if (!node.isDirectory || !node.children.empty() || expandedChildren_.contains(node.url) ||
        expandingDirectories_.contains(node.url)) {
        return;
    }
    Locations expanding = expandingDirectories_;
    expanding.insert(node.url);
    set(expandingDirectories_, std::move(expanding), &AppModel::expandingDirectoriesChanged);
    runner_->run(
        TaskPriority::utility, this,
        [list = engine_.listDirectory, url = node.url, closing = closing_] {
            return list(url, [closing] { return closing->isSet(); });
        },
        [this, url = node.url](std::vector<DiskNode> nodes) {
            Listings listings = expandedChildren_;
            listings.insert_or_assign(url, std::move(nodes));
            set(expandedChildren_, std::move(listings), &AppModel::expandedChildrenChanged);
            Locations remaining = expandingDirectories_;
            remaining.erase(url);
            set(expandingDirectories_, std::move(remaining), &AppModel::expandingDirectoriesChanged);
        });
}

std::optional<std::vector<DiskNode>> AppModel::children(const DiskNode& node) const
{
    if (!node.children.empty()) {
        return node.children;
    }
    const auto found = expandedChildren_.find(node.url);
    if (found != expandedChildren_.end()) {
        return found->second;
    }
    return std::nullopt;
}

// Tool operations -----------------------------------------------------------

void AppModel::loadApps()
{
    if (isLoadingApps_) {
        return;
    }
    set(isLoadingApps_, true, &AppModel::isLoadingAppsChanged);
    runner_->run(TaskPriority::utility, this,
                 [load = engine_.installedApps, closing = closing_] {
                     return load([closing] { return closing->isSet(); });
                 },
                 [this](QList<InstalledApp> apps) {
                     set(apps_, std::move(apps), &AppModel::appsChanged);
                     set(isLoadingApps_, false, &AppModel::isLoadingAppsChanged);
                 });
}

void AppModel::loadStartupItems()
{
    runner_->run(TaskPriority::utility, this, [load = engine_.startupItems] { return load(); },
                 [this](QList<StartupItem> items) { set(startupItems_, std::move(items), &AppModel::startupItemsChanged); });
}

void AppModel::refreshProcesses()
{
    runner_->run(TaskPriority::utility, this, [list = engine_.topProcesses] { return list(processLimit); },
                 [this](QList<RunningProcess> processes) {
                     set(processes_, std::move(processes), &AppModel::processesChanged);
                 });
}

void AppModel::refreshStorageBreakdown()
{
    runner_->run(TaskPriority::utility, this, [measure = engine_.storageBreakdown] { return measure(rootVolume); },
                 [this](StorageBreakdown storage) {
                     set(storage_, std::optional<StorageBreakdown>(std::move(storage)), &AppModel::storageChanged);
                 });
}

void AppModel::refreshLocalSnapshots()
{
    runner_->run(TaskPriority::utility, this, [measure = engine_.localSnapshots] { return measure(rootVolume); },
                 [this](LocalSnapshots snapshots) {
                     set(localSnapshots_, std::optional<LocalSnapshots>(snapshots), &AppModel::localSnapshotsChanged);
                 });
}

void AppModel::refreshPermissions()
{
    runner_->run(TaskPriority::utility, this, [probe = engine_.hasFullDiskAccess] { return probe(); },
                 [this](bool granted) { set(hasFullDiskAccess_, granted, &AppModel::hasFullDiskAccessChanged); });
}

void AppModel::setStartupItem(const StartupItem& item, bool enabled)
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
                showBanner(QStringLiteral("Could not change startup item"), *error, true);
            }
            loadStartupItems();
        });
}

void AppModel::runMaintenance(const MaintenanceTask& task)
{
    if (runningMaintenance_) {
        return;
    }
    set(runningMaintenance_, std::optional<QString>(task.id), &AppModel::runningMaintenanceChanged);
    struct Outcome {
        QString message;
        bool isError = false;
        bool cancelled = false;
    };
    runner_->run(
        TaskPriority::userInitiated, this,
        [run = engine_.runMaintenance, task] {
            try {
                return Outcome{run(task), false, false};
            } catch (const ShellRunner::RunError& error) {
                return Outcome{error.errorDescription(), true, error.kind() == ShellRunner::RunError::Kind::cancelled};
            } catch (const std::exception& error) {
                return Outcome{QString::fromUtf8(error.what()), true, false};
            }
        },
        [this, id = task.id](Outcome outcome) {
            set(runningMaintenance_, std::optional<QString>(), &AppModel::runningMaintenanceChanged);
            if (outcome.cancelled) {
                return;
            }
            QList<MaintenanceLogEntry> log = maintenanceLog_;
            log.prepend({id, outcome.message, outcome.isError, platform::now()});
            set(maintenanceLog_, std::move(log), &AppModel::maintenanceLogChanged);
        });
}

void AppModel::quit(const RunningProcess& process, bool force)
{
    if (!engine_.quit(process, force)) {
        showBanner(QStringLiteral("Could not quit ") + process.name,
                   QStringLiteral("The process did not respond. Try Force Quit, or it may be a system process."),
                   true);
    }
    refreshProcesses();
}

} // namespace harborlite
