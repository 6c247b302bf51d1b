#pragma once

#include "engine/models/CleanupReport.h"
#include "engine/models/ScanCategory.h"
#include "engine/scanners/CategoryScanner.h"
#include "engine/models/InstalledApp.h"
#include "engine/removal/Remover.h"
#include "engine/scanners/DiskNode.h"
#include "engine/system/LocalSnapshots.h"
#include "engine/models/MaintenanceResult.h"
#include "engine/models/MaintenanceTask.h"
#include "engine/models/RunningProcess.h"
#include "engine/models/StartupItem.h"
#include "engine/system/StorageBreakdown.h"
#include "engine/models/UninstallPlan.h"
#include "shared/SystemSnapshot.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace harborlite {

// Everything the model asks of the scanners and services, as one value, so
// the model can be driven by stand-ins. Every function but `quit` is called on
// a worker thread, several at once; each must be safe to call that way.
struct ModelEngine {
    using CancelTest = std::function<bool()>;
    using TreeProgress = std::function<void(double fraction, const QString& name)>;
    using Sampler = std::function<SystemSnapshot()>;

    // What a location holds now.
    struct Measurement {
        qint64 size = 0;
        std::optional<QDateTime> modified;

        bool operator==(const Measurement&) const = default;
    };

    // A new scanner for the category, with the category's thresholds.
    std::function<std::unique_ptr<CategoryScanner>(ScanCategory)> scanner;
    // Removes the locations in order in the mode; never throws.
    std::function<CleanupReport(const QStringList& locations, bool userSelected, Remover::Mode mode)> remove;
    // The installed applications with their sizes; measuring stops once the
    // test answers true (the model going).
    std::function<QList<InstalledApp>(const CancelTest& isCancelled)> installedApps;
    std::function<bool()> hasFullDiskAccess;
    // The size of a file or folder (packages descended into, links never
    // followed) and its modification date; none when nothing is there.
    std::function<std::optional<Measurement>(const QString& location)> measure;
    // What uninstalling the application would remove.
    std::function<UninstallPlan(const InstalledApp& app)> uninstallPlan;
    // Uninstalls as the plan says, in the mode; never throws.
    std::function<CleanupReport(const UninstallPlan& plan, Remover::Mode mode)> uninstall;
    // Makes the model's one sampler; the sampler keeps its previous readings
    // and is called one sample at a time.
    std::function<Sampler()> makeSampler;
    // The busiest processes, at most `limit`.
    std::function<QList<RunningProcess>(int limit)> topProcesses;
    // Asks the process to quit, or ends it when `force`; false when it is not
    // an application that can be asked or the request was refused. Called on
    // the GUI thread; must return at once.
    std::function<bool(const RunningProcess& process, bool force)> quit;
    std::function<QList<StartupItem>()> startupItems;
    // Throws ShellRunner::RunError when the item cannot be switched.
    std::function<void(bool enabled, const StartupItem& item)> setStartupItemEnabled;
    // The task's sentence for the user; throws ShellRunner::RunError (or
    // another std::exception) when it fails.
    std::function<MaintenanceResult(const MaintenanceTask& task)> runMaintenance;
    std::function<StorageBreakdown(const QString& volume)> storageBreakdown;
    std::function<LocalSnapshots(const QString& volume)> localSnapshots;
    // The disk map of a folder: always a root node, holding what was measured
    // before the cancel test answered true.
    std::function<DiskNode(const QString& root, const TreeProgress& progress, const CancelTest& isCancelled)>
        buildDiskTree;
    // One level of a folder as nodes without children, largest first: links
    // and entries of no size left out, hidden entries kept, folders measured
    // whole.
    std::function<std::vector<DiskNode>(const QString& folder, const CancelTest& isCancelled)> listDirectory;

    // The machine's own scanners and services.
    static ModelEngine real();
};

} // namespace harborlite
