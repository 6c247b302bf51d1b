#include "model/AppModel.h"

#include "model/AppModelSetup.h"
#include "shared/DefaultsStore.h"

namespace harborlite {

AppModel::AppModel(DefaultsStore& defaults, QObject* parent)
    : AppModel(defaults, Setup{}, parent)
{
}

AppModel::AppModel(DefaultsStore& defaults, Setup setup, QObject* parent)
    : Observable(parent)
    , defaults_(defaults)
    , route_(restoredRoute(defaults))
    , settings_(std::make_unique<MonitorSettings>(defaults))
    , updates_(std::make_unique<UpdateChecker>(setup.updateConfiguration, setup.bundleInformation, defaults,
                                               setup.systemVersion, std::move(setup.updateSettings)))
{
    const std::shared_ptr<BackgroundRunner> runner =
        setup.runner ? std::move(setup.runner) : std::make_shared<BackgroundRunner>();
    scanSession_ = std::make_unique<ScanSession>(setup.engine.scanSession(), runner);
    monitorFeed_ =
        std::make_unique<MonitorFeed>(setup.engine.monitorFeed(), *settings_, runner, std::move(setup.scheduleTick));
    diskMap_ = std::make_unique<DiskMap>(setup.engine.diskMap(), runner);
    systemTools_ = std::make_unique<SystemTools>(setup.engine.systemTools(), runner);

    const ScanSession* scans = scanSession_.get();
    relay(scans, &ScanSession::resultsChanged, &AppModel::resultsChanged);
    connect(scans, &ScanSession::selectionChanged, this, &AppModel::selectionChanged, Qt::DirectConnection);
    connect(scans, &ScanSession::expansionChanged, this, &AppModel::expansionChanged, Qt::DirectConnection);
    relay(scans, &ScanSession::progressChanged, &AppModel::progressChanged);
    relay(scans, &ScanSession::runningCategoriesChanged, &AppModel::runningCategoriesChanged);
    relay(scans, &ScanSession::smartScanProgressChanged, &AppModel::smartScanProgressChanged);
    relay(scans, &ScanSession::smartScanMessageChanged, &AppModel::smartScanMessageChanged);
    relay(scans, &ScanSession::isSmartScanningChanged, &AppModel::isSmartScanningChanged);
    relay(scans, &ScanSession::lastSmartScanChanged, &AppModel::lastSmartScanChanged);
    relay(scans, &ScanSession::lastReportChanged, &AppModel::lastReportChanged);
    relay(scans, &ScanSession::isCleaningChanged, &AppModel::isCleaningChanged);
    relay(scans, &ScanSession::cleanupModeChanged, &AppModel::cleanupModeChanged);

    const MonitorFeed* feed = monitorFeed_.get();
    relay(feed, &MonitorFeed::snapshotChanged, &AppModel::snapshotChanged);
    relay(feed, &MonitorFeed::cpuSeriesChanged, &AppModel::cpuSeriesChanged);
    relay(feed, &MonitorFeed::memorySeriesChanged, &AppModel::memorySeriesChanged);
    relay(feed, &MonitorFeed::networkInSeriesChanged, &AppModel::networkInSeriesChanged);
    relay(feed, &MonitorFeed::networkOutSeriesChanged, &AppModel::networkOutSeriesChanged);
    relay(feed, &MonitorFeed::storageSeriesChanged, &AppModel::storageSeriesChanged);

    const DiskMap* map = diskMap_.get();
    relay(map, &DiskMap::diskTreeChanged, &AppModel::diskTreeChanged);
    relay(map, &DiskMap::isBuildingTreeChanged, &AppModel::isBuildingTreeChanged);
    relay(map, &DiskMap::expandedChildrenChanged, &AppModel::expandedChildrenChanged);
    relay(map, &DiskMap::expandingDirectoriesChanged, &AppModel::expandingDirectoriesChanged);
    relay(map, &DiskMap::treeProgressChanged, &AppModel::treeProgressChanged);

    const SystemTools* tools = systemTools_.get();
    relay(tools, &SystemTools::appsChanged, &AppModel::appsChanged);
    relay(tools, &SystemTools::isLoadingAppsChanged, &AppModel::isLoadingAppsChanged);
    relay(tools, &SystemTools::startupItemsChanged, &AppModel::startupItemsChanged);
    relay(tools, &SystemTools::processesChanged, &AppModel::processesChanged);
    relay(tools, &SystemTools::localSnapshotsChanged, &AppModel::localSnapshotsChanged);
    relay(tools, &SystemTools::storageChanged, &AppModel::storageChanged);
    relay(tools, &SystemTools::hasFullDiskAccessChanged, &AppModel::hasFullDiskAccessChanged);
    relay(tools, &SystemTools::maintenanceLogChanged, &AppModel::maintenanceLogChanged);
    relay(tools, &SystemTools::runningMaintenanceChanged, &AppModel::runningMaintenanceChanged);
    relay(tools, &SystemTools::isShreddingChanged, &AppModel::isShreddingChanged);
    relay(tools, &SystemTools::isUninstallingChanged, &AppModel::isUninstallingChanged);

    connect(scans, &ScanSession::bannerRaised, this, &AppModel::showBanner, Qt::DirectConnection);
    connect(tools, &SystemTools::bannerRaised, this, &AppModel::showBanner, Qt::DirectConnection);
    connect(scans, &ScanSession::scansCancelled, diskMap_.get(), &DiskMap::stopBuild, Qt::DirectConnection);
}

AppModel::~AppModel() = default;

void AppModel::setRoute(Route route)
{
    assign(route_, route, &AppModel::routeChanged);
}

void AppModel::persistRoute()
{
    harborlite::persistRoute(defaults_, route_);
}

void AppModel::setShowUpdateSheet(bool show)
{
    assign(showUpdateSheet_, show, &AppModel::showUpdateSheetChanged);
}

void AppModel::setBanner(std::optional<Banner> banner)
{
    assign(banner_, std::move(banner), &AppModel::bannerChanged);
}

void AppModel::showBanner(const QString& title, const QString& message, bool isError)
{
    setBanner(Banner{QUuid::createUuid(), title, message, isError});
}

} // namespace harborlite
