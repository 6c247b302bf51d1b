#include "model/ModelEngine.h"

#include "engine/apps/AppCatalog.h"
#include "engine/removal/Remover.h"
#include "engine/removal/Uninstaller.h"
#include "engine/scanners/DeviceBackupsScanner.h"
#include "engine/scanners/DownloadedMediaScanner.h"
#include "engine/scanners/DuplicatesScanner.h"
#include "engine/scanners/InstallersScanner.h"
#include "engine/scanners/LargeOldFilesScanner.h"
#include "engine/scanners/LeftoversScanner.h"
#include "engine/scanners/MailAttachmentsScanner.h"
#include "engine/scanners/MalwareScanner.h"
#include "engine/scanners/PrivacyScanner.h"
#include "engine/scanners/RuvozEzazScanner.h"
#include "engine/scanners/SystemJunkScanner.h"
#include "engine/scanners/TrashScanner.h"
#include "engine/system/LoginItemsService.h"
#include "engine/system/MaintenanceService.h"
#include "engine/system/Permissions.h"
#include "engine/system/ProcessService.h"
#include "shared/FileSystem.h"
#include "shared/SystemMetrics.h"

namespace harborlite {

namespace {

std::unique_ptr<CategoryScanner> scannerFor(ScanCategory category)
{
    switch (category) {
    case ScanCategory::systemJunk:
        return std::make_unique<SystemJunkScanner>();
    case ScanCategory::trash:
        return std::make_unique<TrashScanner>();
    case ScanCategory::mailAttachments:
        return std::make_unique<MailAttachmentsScanner>();
    case ScanCategory::largeAndOld:
        return std::make_unique<LargeOldFilesScanner>(50'000'000, 180);
    case ScanCategory::privacy:
        return std::make_unique<PrivacyScanner>();
    case ScanCategory::leftovers:
        return std::make_unique<LeftoversScanner>();
    case ScanCategory::malware:
        return std::make_unique<MalwareScanner>();
    case ScanCategory::duplicates:
        return std::make_unique<DuplicatesScanner>(1'000'000);
    case ScanCategory::installers:
        return std::make_unique<InstallersScanner>(5'000'000, 14);
    case ScanCategory::downloadedMedia:
        return std::make_unique<DownloadedMediaScanner>(10'000'000);
    case ScanCategory::deviceBackups:
        return std::make_unique<DeviceBackupsScanner>();
    }
    return std::make_unique<TrashScanner>();
}

} // namespace

ModelEngine ModelEngine::real()
{
    ModelEngine engine;
    engine.scanner = scannerFor;
    engine.remove = [](const QStringList& locations, bool userSelected, RemovalMode mode) {
        return Remover(mode).remove(locations, userSelected);
    };
    engine.installedApps = [](const CancelTest& isCancelled) { return AppCatalog().installedApps(true, isCancelled); };
    engine.hasFullDiskAccess = [] { return Permissions::hasFullDiskAccess(); };
    engine.makeSampler = [] {
        auto metrics = std::make_shared<SystemMetrics>();
        return Sampler([metrics] { return metrics->snapshot(); });
    };
    engine.topProcesses = [](int limit) { return ProcessService().topProcesses(limit); };
    engine.quit = [](const RunningProcess& process, bool force) {
        // The process was sampled moments ago: only the checks run here, not
        // another reading of the desktop's applications.
        const ProcessService service(ProcessService::ApplicationList{});
        if (!service.mayQuit(process)) {
            return false;
        }
        if (force) {
            service.forceQuit(process);
        } else {
            service.quit(process);
        }
        return true;
    };
    engine.measure = [](const QString& location) -> std::optional<Measurement> {
        if (!FS::exists(location)) {
            return std::nullopt;
        }
        return Measurement{FS::size(location, {.descendIntoPackages = true}), FS::modificationDate(location)};
    };
    engine.uninstallPlan = [](const InstalledApp& app) { return Uninstaller().plan(app); };
    engine.uninstall = [](const UninstallPlan& plan, RemovalMode mode) { return Uninstaller().uninstall(plan, mode); };
    engine.startupItems = [] { return LoginItemsService().items(); };
    engine.setStartupItemEnabled = [](bool enabled, const StartupItem& item) {
        LoginItemsService().setEnabled(enabled, item);
    };
    engine.runMaintenance = [](const MaintenanceTask& task) { return MaintenanceService().run(task); };
    engine.storageBreakdown = [](const QString& volume) { return StorageBreakdown::measure(volume); };
    engine.localSnapshots = [](const QString& volume) {
        return LocalSnapshots{LocalSnapshots::snapshotCount(volume), LocalSnapshots::purgeable(volume)};
    };
    engine.buildDiskTree = [](const QString& root, const TreeProgress& progress, const CancelTest& isCancelled) {
        return RuvozEzazScanner().buildTree(root, progress, isCancelled);
    };
    engine.listDirectory = [](const QString& folder, const CancelTest& isCancelled) {
        return RuvozEzazScanner().expansion(folder, isCancelled);
    };
    return engine;
}

} // namespace harborlite
