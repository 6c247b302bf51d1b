#pragma once

#include "engine/models/CategoryResult.h"
#include "engine/models/CleanupReport.h"
#include "engine/models/ScanCategory.h"
#include "engine/models/ScanProgress.h"
#include "engine/services/InstalledApp.h"
#include "engine/services/Remover.h"
#include "platform/SystemVersion.h"
#include "quorvanekit/QuorvaneConfiguration.h"
#include "quorvanekit/UpdateChecker.h"
#include "shared/Observable.h"
#include "model/BackgroundRunner.h"
#include "engine/scanners/DiskNode.h"
#include "engine/services/LocalSnapshots.h"
#include "engine/services/MaintenanceTask.h"
#include "model/ModelEngine.h"
#include "model/MonitorSettings.h"
#include "model/Route.h"
#include "model/RunGeneration.h"
#include "engine/services/RunningProcess.h"
#include "engine/services/StartupItem.h"
#include "engine/services/StorageBreakdown.h"
#include "shared/SystemSnapshot.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUuid>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace harborlite {

class DefaultsStore;

// The one state every screen reads and the one place their operations go.
// Slow work runs on workers; every published value changes on the GUI thread
// only, announcing itself through objectWillChange()/didChange() and its own
// change signal. Runs of one kind (a category's scan, the smart scan, the disk
// map) each carry a generation and a stop flag: "Stop" ends the current runs,
// and only the newest run of a kind publishes. Work still running when the
// model goes is asked to stop and its results are dropped.
class AppModel : public Observable {
    Q_OBJECT
    Q_PROPERTY(harborlite::Route route READ route WRITE setRoute NOTIFY routeChanged)
    Q_PROPERTY(harborlite::AppModel::Results results READ results NOTIFY resultsChanged)
    Q_PROPERTY(harborlite::AppModel::ProgressTable progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(harborlite::AppModel::Categories runningCategories READ runningCategories NOTIFY
                   runningCategoriesChanged)
    Q_PROPERTY(double smartScanProgress READ smartScanProgress NOTIFY smartScanProgressChanged)
    Q_PROPERTY(QString smartScanMessage READ smartScanMessage NOTIFY smartScanMessageChanged)
    Q_PROPERTY(bool isSmartScanning READ isSmartScanning NOTIFY isSmartScanningChanged)
    Q_PROPERTY(std::optional<QDateTime> lastSmartScan READ lastSmartScan NOTIFY lastSmartScanChanged)
    Q_PROPERTY(std::optional<harborlite::CleanupReport> lastReport READ lastReport NOTIFY lastReportChanged)
    Q_PROPERTY(bool isCleaning READ isCleaning NOTIFY isCleaningChanged)
    Q_PROPERTY(harborlite::Remover::Mode cleanupMode READ cleanupMode WRITE setCleanupMode NOTIFY
                   cleanupModeChanged)
    Q_PROPERTY(harborlite::SystemSnapshot snapshot READ snapshot NOTIFY snapshotChanged)
    Q_PROPERTY(QList<harborlite::InstalledApp> apps READ apps NOTIFY appsChanged)
    Q_PROPERTY(bool isLoadingApps READ isLoadingApps NOTIFY isLoadingAppsChanged)
    Q_PROPERTY(QList<harborlite::StartupItem> startupItems READ startupItems NOTIFY startupItemsChanged)
    Q_PROPERTY(QList<harborlite::RunningProcess> processes READ processes NOTIFY processesChanged)
    Q_PROPERTY(std::optional<harborlite::DiskNode> diskTree READ diskTree NOTIFY diskTreeChanged)
    Q_PROPERTY(bool isBuildingTree READ isBuildingTree NOTIFY isBuildingTreeChanged)
    Q_PROPERTY(harborlite::AppModel::Listings expandedChildren READ expandedChildren NOTIFY expandedChildrenChanged)
    Q_PROPERTY(harborlite::AppModel::Locations expandingDirectories READ expandingDirectories NOTIFY
                   expandingDirectoriesChanged)
    Q_PROPERTY(harborlite::AppModel::TreeProgress treeProgress READ treeProgress NOTIFY treeProgressChanged)
    Q_PROPERTY(bool showUpdateSheet READ showUpdateSheet WRITE setShowUpdateSheet NOTIFY showUpdateSheetChanged)
    Q_PROPERTY(QList<double> cpuSeries READ cpuSeries NOTIFY cpuSeriesChanged)
    Q_PROPERTY(QList<double> memorySeries READ memorySeries NOTIFY memorySeriesChanged)
    Q_PROPERTY(QList<double> networkInSeries READ networkInSeries NOTIFY networkInSeriesChanged)
    Q_PROPERTY(QList<double> networkOutSeries READ networkOutSeries NOTIFY networkOutSeriesChanged)
    Q_PROPERTY(QList<double> storageSeries READ storageSeries NOTIFY storageSeriesChanged)
    Q_PROPERTY(std::optional<harborlite::LocalSnapshots> localSnapshots READ localSnapshots NOTIFY
                   localSnapshotsChanged)
    Q_PROPERTY(std::optional<harborlite::StorageBreakdown> storage READ storage NOTIFY storageChanged)
    Q_PROPERTY(bool hasFullDiskAccess READ hasFullDiskAccess NOTIFY hasFullDiskAccessChanged)
    Q_PROPERTY(QList<harborlite::AppModel::MaintenanceLogEntry> maintenanceLog READ maintenanceLog NOTIFY
                   maintenanceLogChanged)
    Q_PROPERTY(std::optional<QString> runningMaintenance READ runningMaintenance NOTIFY runningMaintenanceChanged)
    Q_PROPERTY(std::optional<harborlite::AppModel::Banner> banner READ banner WRITE setBanner NOTIFY bannerChanged)

public:
    // A transient message over the window; a new one replaces the one shown.
    struct Banner {
        QUuid id = QUuid::createUuid();
        QString title;
        QString message;
        bool isError = false;

        bool operator==(const Banner&) const = default;
    };

    // One maintenance run's outcome; the log keeps the newest first.
    struct MaintenanceLogEntry {
        QString id;
        QString message;
        bool isError = false;
        QDateTime at;

        bool operator==(const MaintenanceLogEntry&) const = default;
    };

    // Disk-map build progress: the share of the root's entries started and the
    // entry being measured.
    struct TreeProgress {
        double fraction = 0;
        QString name;

        bool operator==(const TreeProgress&) const = default;
    };

    using Results = std::map<ScanCategory, CategoryResult>;
    using ProgressTable = std::map<ScanCategory, ScanProgress>;
    using Categories = std::set<ScanCategory>;
    using Listings = std::map<QString, std::vector<DiskNode>>;
    using Locations = std::set<QString>;

    // Waits `seconds`, then runs `tick` on the GUI thread unless `context` is
    // gone by then.
    using TickScheduler = std::function<void(QObject* context, double seconds, std::function<void()> tick)>;

    // What the model is built from; the defaults are the machine's own.
    struct Setup {
        ModelEngine engine = ModelEngine::real();
        QuorvaneConfiguration updateConfiguration = QuorvaneConfiguration::harborlite();
        QJsonObject bundleInformation = UpdateChecker::mainBundleInformation();
        platform::OperatingSystemVersion systemVersion = platform::systemVersion();
        UpdateChecker::Settings updateSettings;
        // Shared with the caller when given, else the model's own.
        std::shared_ptr<BackgroundRunner> runner;
        // Defaults to a single-shot timer.
        TickScheduler scheduleTick;
    };

    // The six categories of the Cleanup screen, in its order.
    static constexpr std::array<ScanCategory, 6> cleanupCategories = {
        ScanCategory::systemJunk, ScanCategory::trash,           ScanCategory::mailAttachments,
        ScanCategory::installers, ScanCategory::downloadedMedia, ScanCategory::leftovers,
    };

    // Series keep this many of the newest samples.
    static constexpr qsizetype seriesLength = 90;

    // The route is restored from `defaults`, which also holds the settings and
    // the update bookkeeping and must outlive the model. Nothing is announced
    // while the model is built.
    explicit AppModel(DefaultsStore& defaults, QObject* parent = nullptr);
    AppModel(DefaultsStore& defaults, Setup setup, QObject* parent = nullptr);
    // Asks running work to stop; whatever it returns later is dropped.
    ~AppModel() override;

    AppModel(const AppModel&) = delete;
    AppModel& operator=(const AppModel&) = delete;

    Route route() const { return route_; }
    void setRoute(Route route);
    // Stores the route under "nav.route".
    void persistRoute();

    const Results& results() const { return results_; }
    const ProgressTable& progress() const { return progress_; }
    const Categories& runningCategories() const { return runningCategories_; }
    double smartScanProgress() const { return smartScanProgress_; }
    const QString& smartScanMessage() const { return smartScanMessage_; }
    bool isSmartScanning() const { return isSmartScanning_; }
    const std::optional<QDateTime>& lastSmartScan() const { return lastSmartScan_; }
    const std::optional<CleanupReport>& lastReport() const { return lastReport_; }
    bool isCleaning() const { return isCleaning_; }
    Remover::Mode cleanupMode() const { return cleanupMode_; }
    void setCleanupMode(Remover::Mode mode);
    const SystemSnapshot& snapshot() const { return snapshot_; }
    const QList<InstalledApp>& apps() const { return apps_; }
    bool isLoadingApps() const { return isLoadingApps_; }
    const QList<StartupItem>& startupItems() const { return startupItems_; }
    const QList<RunningProcess>& processes() const { return processes_; }
    const std::optional<DiskNode>& diskTree() const { return diskTree_; }
    bool isBuildingTree() const { return isBuildingTree_; }
    const Listings& expandedChildren() const { return expandedChildren_; }
    const Locations& expandingDirectories() const { return expandingDirectories_; }
    const TreeProgress& treeProgress() const { return treeProgress_; }
    MonitorSettings& settings() const { return *settings_; }
    UpdateChecker& updates() const { return *updates_; }
    bool showUpdateSheet() const { return showUpdateSheet_; }
    void setShowUpdateSheet(bool show);
    const QList<double>& cpuSeries() const { return cpuSeries_; }
    const QList<double>& memorySeries() const { return memorySeries_; }
    const QList<double>& networkInSeries() const { return networkInSeries_; }
    const QList<double>& networkOutSeries() const { return networkOutSeries_; }
    const QList<double>& storageSeries() const { return storageSeries_; }
    const std::optional<LocalSnapshots>& localSnapshots() const { return localSnapshots_; }
    const std::optional<StorageBreakdown>& storage() const { return storage_; }
    bool hasFullDiskAccess() const { return hasFullDiskAccess_; }
    const QList<MaintenanceLogEntry>& maintenanceLog() const { return maintenanceLog_; }
    const std::optional<QString>& runningMaintenance() const { return runningMaintenance_; }
    const std::optional<Banner>& banner() const { return banner_; }
    void setBanner(std::optional<Banner> banner);

    // Scans one category in the background unless it is already scanning.
    void scan(ScanCategory category);
    // Scans the smart-scan categories one after another unless a smart scan runs.
    void startSmartScan();
    // Stops every scan and the disk-map build; what they found so far is kept.
    void cancelScan();

    // The category's latest result.
    std::optional<CategoryResult> result(ScanCategory category) const;
    // Flips the selection of the item with `item`'s id.
    void toggleItem(const ScanItem& item, ScanCategory category);
    // Deselects the group with `group`'s id when all of it is selected, else
    // selects all of it.
    void toggleGroup(const ScanGroup& group, ScanCategory category);
    void setExpanded(bool expanded, const ScanGroup& group, ScanCategory category);
    // Bytes of every item of the smart-scan categories' results, selected or not.
    qint64 totalJunk() const;
    // Bytes of every item of every result.
    qint64 reclaimable() const;
    // Removes the selected items of the categories in the current mode, then
    // drops those categories' results and shows a banner. Ignored while a
    // cleanup runs or when nothing is selected.
    void clean(const QList<ScanCategory>& categories);

    // Takes a sample now and then one every max(0.5 s, refresh interval);
    // later calls find the loop running.
    void startMonitoring();
    // Takes one sample unless one is in flight.
    void refreshSnapshot();
    // The full scale of both network charts: their peak, at least 1,000,000.
    double networkScale() const;

    // Measures `root` into the disk map unless a build runs.
    void buildDiskTree(const QString& root);
    // Lists a directory the map left without children, once.
    void expandChildren(const DiskNode& node);
    // The node's own children, else its listing; none when it has neither.
    std::optional<std::vector<DiskNode>> children(const DiskNode& node) const;

    void loadApps();
    void loadStartupItems();
    void refreshProcesses();
    void refreshStorageBreakdown();
    void refreshLocalSnapshots();
    void refreshPermissions();
    void setStartupItem(const StartupItem& item, bool enabled);
    void runMaintenance(const MaintenanceTask& task);
    void quit(const RunningProcess& process, bool force);

signals:
    void routeChanged();
    void resultsChanged();
    void progressChanged();
    void runningCategoriesChanged();
    void smartScanProgressChanged();
    void smartScanMessageChanged();
    void isSmartScanningChanged();
    void lastSmartScanChanged();
    void lastReportChanged();
    void isCleaningChanged();
    void cleanupModeChanged();
    void snapshotChanged();
    void appsChanged();
    void isLoadingAppsChanged();
    void startupItemsChanged();
    void processesChanged();
    void diskTreeChanged();
    void isBuildingTreeChanged();
    void expandedChildrenChanged();
    void expandingDirectoriesChanged();
    void treeProgressChanged();
    void showUpdateSheetChanged();
    void cpuSeriesChanged();
    void memorySeriesChanged();
    void networkInSeriesChanged();
    void networkOutSeriesChanged();
    void storageSeriesChanged();
    void localSnapshotsChanged();
    void storageChanged();
    void hasFullDiskAccessChanged();
    void maintenanceLogChanged();
    void runningMaintenanceChanged();
    void bannerChanged();

private:
    struct SmartScanRun;

    // Announces, assigns and then emits the value's own signal.
    template <typename T, typename V>
    void set(T& field, V&& value, void (AppModel::*changed)())
    {
        publish(field, std::forward<V>(value));
        emit(this->*changed)();
    }

    // Runs one scanner of `category` as a new generation of that category;
    // `onProgress` sees its values, `onResult` runs once the result is stored.
    void runScanner(ScanCategory category, const std::shared_ptr<CancellationFlag>& extraFlag,
                    std::function<void(const ScanProgress&)> onProgress, std::function<void()> onResult);
    void smartScanStep(quint64 generation, std::size_t index);
    void finishSmartScan(quint64 generation);
    void storeResult(ScanCategory category, CategoryResult result);
    void insertRunning(ScanCategory category);
    void removeRunning(ScanCategory category);
    void setProgressEntry(ScanCategory category, const ScanProgress& value);
    void editResult(ScanCategory category, const std::function<bool(CategoryResult&)>& edit);
    void scheduleNextTick();
    void apply(const SystemSnapshot& snapshot);
    void append(double value, QList<double>& series, void (AppModel::*changed)());
    void showBanner(const QString& title, const QString& message, bool isError);

    DefaultsStore& defaults_;
    ModelEngine engine_;

    Route route_;
    Results results_;
    ProgressTable progress_;
    Categories runningCategories_;
    double smartScanProgress_ = 0;
    QString smartScanMessage_;
    bool isSmartScanning_ = false;
    std::optional<QDateTime> lastSmartScan_;
    std::optional<CleanupReport> lastReport_;
    bool isCleaning_ = false;
    Remover::Mode cleanupMode_ = Remover::Mode::trash;
    SystemSnapshot snapshot_;
    QList<InstalledApp> apps_;
    bool isLoadingApps_ = false;
    QList<StartupItem> startupItems_;
    QList<RunningProcess> processes_;
    std::optional<DiskNode> diskTree_;
    bool isBuildingTree_ = false;
    Listings expandedChildren_;
    Locations expandingDirectories_;
    TreeProgress treeProgress_;
    std::unique_ptr<MonitorSettings> settings_;
    std::unique_ptr<UpdateChecker> updates_;
    bool showUpdateSheet_ = false;
    QList<double> cpuSeries_;
    QList<double> memorySeries_;
    QList<double> networkInSeries_;
    QList<double> networkOutSeries_;
    QList<double> storageSeries_;
    std::optional<LocalSnapshots> localSnapshots_;
    std::optional<StorageBreakdown> storage_;
    bool hasFullDiskAccess_ = true;
    QList<MaintenanceLogEntry> maintenanceLog_;
    std::optional<QString> runningMaintenance_;
    std::optional<Banner> banner_;

    ModelEngine::Sampler sampler_;
    bool isSampling_ = false;
    bool isMonitoring_ = false;
    TickScheduler scheduleTick_;
    std::map<ScanCategory, RunGeneration> categoryRuns_;
    RunGeneration smartRuns_;
    std::unique_ptr<SmartScanRun> smartScan_;
    RunGeneration treeRuns_;
    // Set when the model goes, so listings and application sizing stop measuring.
    std::shared_ptr<CancellationFlag> closing_;
    // Last, so that it is released first.
    std::shared_ptr<BackgroundRunner> runner_;
};

} // namespace harborlite
