#include "viewmodels/ModelEngine.h"

#include "core/scanners/TrashScanner.h"
#include "core/services/AppCatalog.h"
#include "core/services/Permissions.h"
#include "core/services/ShellRunner.h"
#include "platform/Clock.h"
#include "shared/FileSystem.h"

#include <QFileInfo>
#include <QUuid>

#include <algorithm>

namespace harborlite {

namespace {

// Categories whose scanner this build does not have find nothing.
class NothingScanner : public CategoryScanner {
public:
    explicit NothingScanner(ScanCategory category) : category_(category) {}

    ScanCategory category() const override { return category_; }
    CategoryResult scan(const ProgressCallback&, const CancelPredicate&) const override
    {
        return {category_, {}, platform::now()};
    }

private:
    ScanCategory category_;
};

std::unique_ptr<CategoryScanner> scannerFor(ScanCategory category)
{
    if (category == ScanCategory::trash) {
        return std::make_unique<TrashScanner>();
    }
    return std::make_unique<NothingScanner>(category);
}

std::vector<DiskNode> listing(const QString& folder, const ModelEngine::CancelTest& isCancelled)
{
    std::vector<DiskNode> nodes;
    for (const QString& entry : FS::children(folder, true)) {
        if (QFileInfo(entry).isSymLink()) {
            continue;
        }
        const bool isDirectory = FS::isDirectory(entry);
        const qint64 size = isDirectory ? FS::size(entry, true, isCancelled) : FS::allocatedSize(entry);
        if (size <= 0) {
            continue;
        }
        nodes.push_back({QUuid::createUuid(), entry, FS::lastPathComponent(entry), size, isDirectory, {}});
    }
    std::stable_sort(nodes.begin(), nodes.end(),
                     [](const DiskNode& a, const DiskNode& b) { return a.size > b.size; });
    return nodes;
}

// Without the deep builder the map holds the root's entries, each measured whole.
DiskNode oneLevelTree(const QString& root, const ModelEngine::TreeProgress& progress,
                      const ModelEngine::CancelTest& isCancelled)
{
    const QStringList entries = FS::children(root, true);
    std::vector<DiskNode> children;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (isCancelled()) {
            break;
        }
        const QString& entry = entries[i];
        progress(double(i) / double(std::max<qsizetype>(entries.size(), 1)), FS::lastPathComponent(entry));
        if (QFileInfo(entry).isSymLink()) {
            continue;
        }
        const bool isDirectory = FS::isDirectory(entry);
        const qint64 size = isDirectory ? FS::size(entry, true, isCancelled) : FS::allocatedSize(entry);
        if (size <= 0 || isCancelled()) {
            continue;
        }
        children.push_back({QUuid::createUuid(), entry, FS::lastPathComponent(entry), size, isDirectory, {}});
    }
    std::stable_sort(children.begin(), children.end(),
                     [](const DiskNode& a, const DiskNode& b) { return a.size > b.size; });
    const QString rootName = FS::lastPathComponent(root);
    progress(1.0, rootName);
    qint64 total = 0;
    for (const DiskNode& child : children) {
        total += child.size;
    }
    return {QUuid::createUuid(), root, rootName.isEmpty() ? QStringLiteral("Macintosh HD") : rootName, total, true,
            std::move(children)};
}

} // namespace

ModelEngine ModelEngine::real()
{
    ModelEngine engine;
    engine.scanner = scannerFor;
    engine.remove = [](const QStringList& locations, bool userSelected, Remover::Mode mode) {
        return Remover(mode).remove(locations, userSelected);
    };
    engine.installedApps = [](const CancelTest& isCancelled) { return AppCatalog().installedApps(true, isCancelled); };
    engine.hasFullDiskAccess = [] { return Permissions::hasFullDiskAccess(); };
    // Services this build does not have answer with their neutral values.
    engine.makeSampler = [] { return Sampler([] { return SystemSnapshot{}; }); };
    engine.topProcesses = [](int) { return QList<RunningProcess>{}; };
    engine.quit = [](const RunningProcess&, bool) { return false; };
    engine.startupItems = [] { return QList<StartupItem>{}; };
    engine.setStartupItemEnabled = [](bool, const StartupItem&) {
        throw ShellRunner::RunError::toolMissing(QStringLiteral("/bin/launchctl"));
    };
    engine.runMaintenance = [](const MaintenanceTask& task) -> QString {
        throw ShellRunner::RunError::launchFailed(QStringLiteral("unknown task ") + task.id);
    };
    engine.storageBreakdown = [](const QString& volume) {
        const FS::VolumeCapacity capacity = FS::volumeCapacity(volume);
        StorageBreakdown breakdown;
        breakdown.capacity = capacity.total;
        breakdown.free = capacity.free;
        return breakdown;
    };
    engine.localSnapshots = [](const QString&) { return LocalSnapshots{}; };
    engine.buildDiskTree = oneLevelTree;
    engine.listDirectory = listing;
    return engine;
}

} // namespace harborlite
