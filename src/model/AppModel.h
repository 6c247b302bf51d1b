#pragma once

#include "model/DiskMap.h"
#include "model/MonitorFeed.h"
#include "model/MonitorSettings.h"
#include "model/Route.h"
#include "model/ScanSession.h"
#include "model/SystemTools.h"
#include "quorvanekit/UpdateChecker.h"
#include "shared/Observable.h"

#include <QString>
#include <QUuid>

#include <array>
#include <memory>
#include <optional>

namespace harborlite {

class DefaultsStore;

// The application's one model: the route, the transient banner and the
// update-sheet flag, the settings and the update checker, and the feature
// stores that hold everything else (ScanSession, MonitorFeed, DiskMap,
// SystemTools). Screens take the store they need; the window's frame takes
// the whole model, which reads and forwards every store's values and
// operations under their own names, each value's change signal with them.
// objectWillChange()/didChange() announce the model's own values only: a view
// listens to the stores, or the change signals, of what it shows. Lives on the
// GUI thread.
//
// "Stop" is one stop: a session's cancelScan() also stops the disk-map build.
class AppModel : public Observable {
    Q_OBJECT
    Q_PROPERTY(harborlite::Route route READ route WRITE setRoute NOTIFY routeChanged)
    Q_PROPERTY(harborlite::AppModel::Results results READ results NOTIFY resultsChanged)
    Q_PROPERTY(harborlite::AppModel::ProgressTable progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(
        harborlite::AppModel::Categories runningCategories READ runningCategories NOTIFY runningCategoriesChanged)
    Q_PROPERTY(double smartScanProgress READ smartScanProgress NOTIFY smartScanProgressChanged)
    Q_PROPERTY(QString smartScanMessage READ smartScanMessage NOTIFY smartScanMessageChanged)
    Q_PROPERTY(bool isSmartScanning READ isSmartScanning NOTIFY isSmartScanningChanged)
    Q_PROPERTY(std::optional<QDateTime> lastSmartScan READ lastSmartScan NOTIFY lastSmartScanChanged)
    Q_PROPERTY(std::optional<harborlite::CleanupReport> lastReport READ lastReport NOTIFY lastReportChanged)
    Q_PROPERTY(bool isCleaning READ isCleaning NOTIFY isCleaningChanged)
    Q_PROPERTY(harborlite::RemovalMode cleanupMode READ cleanupMode WRITE setCleanupMode NOTIFY cleanupModeChanged)
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
    Q_PROPERTY(
        std::optional<harborlite::LocalSnapshots> localSnapshots READ localSnapshots NOTIFY localSnapshotsChanged)
    Q_PROPERTY(std::optional<harborlite::StorageBreakdown> storage READ storage NOTIFY storageChanged)
    Q_PROPERTY(bool hasFullDiskAccess READ hasFullDiskAccess NOTIFY hasFullDiskAccessChanged)
    Q_PROPERTY(QList<harborlite::AppModel::MaintenanceLogEntry> maintenanceLog READ maintenanceLog NOTIFY
                   maintenanceLogChanged)
    Q_PROPERTY(std::optional<QString> runningMaintenance READ runningMaintenance NOTIFY runningMaintenanceChanged)
    Q_PROPERTY(bool isShredding READ isShredding NOTIFY isShreddingChanged)
    Q_PROPERTY(bool isUninstalling READ isUninstalling NOTIFY isUninstallingChanged)
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

    using Results = ScanSession::Results;
    using ProgressTable = ScanSession::ProgressTable;
    using Categories = ScanSession::Categories;
    using TreeProgress = DiskMap::TreeProgress;
    using Listings = DiskMap::Listings;
    using Locations = DiskMap::Locations;
    using MaintenanceLogEntry = SystemTools::MaintenanceLogEntry;
    using TickScheduler = MonitorFeed::TickScheduler;

    // What the model is built from (model/AppModelSetup.h).
    struct Setup;

    static constexpr std::array<ScanCategory, 6> cleanupCategories = ScanSession::cleanupCategories;
    static constexpr qsizetype seriesLength = MonitorFeed::seriesLength;

    // The route is restored from `defaults`, which also holds the settings and
    // the update bookkeeping and must outlive the model. Nothing is announced
    // while the model is built.
    explicit AppModel(DefaultsStore& defaults, QObject* parent = nullptr);
    AppModel(DefaultsStore& defaults, Setup setup, QObject* parent = nullptr);
    // The stores ask their running work to stop; whatever it returns later is dropped.
    ~AppModel() override;

    AppModel(const AppModel&) = delete;
    AppModel& operator=(const AppModel&) = delete;

    ScanSession& scanSession() const { return *scanSession_; }
    MonitorFeed& monitorFeed() const { return *monitorFeed_; }
    DiskMap& diskMap() const { return *diskMap_; }
    SystemTools& systemTools() const { return *systemTools_; }
    MonitorSettings& settings() const { return *settings_; }
    UpdateChecker& updates() const { return *updates_; }

    Route route() const { return route_; }
    void setRoute(Route route);
    // Stores the route under "nav.route".
    void persistRoute();
    bool showUpdateSheet() const { return showUpdateSheet_; }
    void setShowUpdateSheet(bool show);
    const std::optional<Banner>& banner() const { return banner_; }
    void setBanner(std::optional<Banner> banner);

    const Results& results() const { return scanSession_->results(); }
    const ProgressTable& progress() const { return scanSession_->progress(); }
    const Categories& runningCategories() const { return scanSession_->runningCategories(); }
    double smartScanProgress() const { return scanSession_->smartScanProgress(); }
    const QString& smartScanMessage() const { return scanSession_->smartScanMessage(); }
    bool isSmartScanning() const { return scanSession_->isSmartScanning(); }
    const std::optional<QDateTime>& lastSmartScan() const { return scanSession_->lastSmartScan(); }
    const std::optional<CleanupReport>& lastReport() const { return scanSession_->lastReport(); }
    bool isCleaning() const { return scanSession_->isCleaning(); }
    RemovalMode cleanupMode() const { return scanSession_->cleanupMode(); }
    void setCleanupMode(RemovalMode mode) { scanSession_->setCleanupMode(mode); }
    const SystemSnapshot& snapshot() const { return monitorFeed_->snapshot(); }
    const QList<double>& cpuSeries() const { return monitorFeed_->cpuSeries(); }
    const QList<double>& memorySeries() const { return monitorFeed_->memorySeries(); }
    const QList<double>& networkInSeries() const { return monitorFeed_->networkInSeries(); }
    const QList<double>& networkOutSeries() const { return monitorFeed_->networkOutSeries(); }
    const QList<double>& storageSeries() const { return monitorFeed_->storageSeries(); }
    const std::optional<DiskNode>& diskTree() const { return diskMap_->diskTree(); }
    bool isBuildingTree() const { return diskMap_->isBuildingTree(); }
    const Listings& expandedChildren() const { return diskMap_->expandedChildren(); }
    const Locations& expandingDirectories() const { return diskMap_->expandingDirectories(); }
    const TreeProgress& treeProgress() const { return diskMap_->treeProgress(); }
    const QList<InstalledApp>& apps() const { return systemTools_->apps(); }
    bool isLoadingApps() const { return systemTools_->isLoadingApps(); }
    const QList<StartupItem>& startupItems() const { return systemTools_->startupItems(); }
    const QList<RunningProcess>& processes() const { return systemTools_->processes(); }
    const std::optional<LocalSnapshots>& localSnapshots() const { return systemTools_->localSnapshots(); }
    const std::optional<StorageBreakdown>& storage() const { return systemTools_->storage(); }
    bool hasFullDiskAccess() const { return systemTools_->hasFullDiskAccess(); }
    const QList<MaintenanceLogEntry>& maintenanceLog() const { return systemTools_->maintenanceLog(); }
    const std::optional<QString>& runningMaintenance() const { return systemTools_->runningMaintenance(); }
    bool isShredding() const { return systemTools_->isShredding(); }
    bool isUninstalling() const { return systemTools_->isUninstalling(); }

    void scan(ScanCategory category) { scanSession_->scan(category); }
    void startSmartScan() { scanSession_->startSmartScan(); }
    // Stops every scan and the disk-map build; what they found so far is kept.
    void cancelScan() { scanSession_->cancelScan(); }
    std::optional<CategoryResult> result(ScanCategory category) const { return scanSession_->result(category); }
    void toggleItem(const ScanItem& item, ScanCategory category) { scanSession_->toggleItem(item, category); }
    void toggleGroup(const ScanGroup& group, ScanCategory category) { scanSession_->toggleGroup(group, category); }
    void setExpanded(bool expanded, const ScanGroup& group, ScanCategory category)
    {
        scanSession_->setExpanded(expanded, group, category);
    }
    qint64 totalJunk() const { return scanSession_->totalJunk(); }
    qint64 reclaimable() const { return scanSession_->reclaimable(); }
    void clean(const QList<ScanCategory>& categories) { scanSession_->clean(categories); }

    void startMonitoring() { monitorFeed_->startMonitoring(); }
    void refreshSnapshot() { monitorFeed_->refreshSnapshot(); }
    double networkScale() const { return monitorFeed_->networkScale(); }

    void buildDiskTree(const QString& root) { diskMap_->buildDiskTree(root); }
    void expandChildren(const DiskNode& node) { diskMap_->expandChildren(node); }
    std::optional<std::vector<DiskNode>> children(const DiskNode& node) const { return diskMap_->children(node); }

    void loadApps() { systemTools_->loadApps(); }
    void loadStartupItems() { systemTools_->loadStartupItems(); }
    void refreshProcesses() { systemTools_->refreshProcesses(); }
    void refreshStorageBreakdown() { systemTools_->refreshStorageBreakdown(); }
    void refreshLocalSnapshots() { systemTools_->refreshLocalSnapshots(); }
    void refreshPermissions() { systemTools_->refreshPermissions(); }
    void setStartupItem(const StartupItem& item, bool enabled) { systemTools_->setStartupItem(item, enabled); }
    void runMaintenance(const MaintenanceTask& task) { systemTools_->runMaintenance(task); }
    void quit(const RunningProcess& process, bool force) { systemTools_->quit(process, force); }

signals:
    void routeChanged();
    void resultsChanged();
    void selectionChanged(harborlite::ScanCategory category, const QUuid& id);
    void expansionChanged(harborlite::ScanCategory category, const QUuid& group);
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
    void isShreddingChanged();
    void isUninstallingChanged();
    void bannerChanged();

private:
    // Emits the model's own `to` whenever the store emits `from`.
    template <typename Store>
    void relay(const Store* store, void (Store::*from)(), void (AppModel::*to)())
    {
        connect(store, from, this, to, Qt::DirectConnection);
    }
    void showBanner(const QString& title, const QString& message, bool isError);

    DefaultsStore& defaults_;
    Route route_;
    bool showUpdateSheet_ = false;
    std::optional<Banner> banner_;
    std::unique_ptr<MonitorSettings> settings_;
    std::unique_ptr<UpdateChecker> updates_;
    std::unique_ptr<ScanSession> scanSession_;
    std::unique_ptr<MonitorFeed> monitorFeed_;
    std::unique_ptr<DiskMap> diskMap_;
    std::unique_ptr<SystemTools> systemTools_;
};

} // namespace harborlite
