#include "engine/services/Uninstaller.h"

#include "engine/scanners/SizeOrder.h"
#include "engine/services/PackageReceipts.h"
#include "engine/services/ShellQuoting.h"
#include "engine/services/ShellRunner.h"
#include "shared/FileSystem.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <thread>

namespace harborlite {

namespace {

ScanItem planItem(const QString& location, bool residue, const std::optional<QString>& detail)
{
    ScanItem item;
    item.url = location;
    item.displayName = FS::lastPathComponent(location);
    item.origin = FS::abbreviatingHome(FS::parentPath(location));
    item.size = FS::size(location, true);
    item.modified = FS::modificationDate(location);
    item.requiresReview = residue;
    item.detail = detail;
    item.isSelected = !residue;
    return item;
}

// Tries an administrator command; every error, a dismissed prompt included, only
// means the command did not happen.
bool runAsAdministrator(const QString& commandLine, const platform::ToolTable& tools)
{
    try {
        ShellRunner::runPrivileged(commandLine, tools);
        return true;
    } catch (const ShellRunner::RunError&) {
        return false;
    }
}

// The vendor rule of the receipt lookup also reaches the vendor's other
// products; forgetting their receipts would orphan software still installed. A
// receipt is forgotten only when it lists this bundle, or when nothing it placed
// is left on disk.
bool belongsToApp(const PackageReceipt& receipt, const UninstallPlan& plan)
{
    const QString bundle = FS::path(plan.app.url);
    const bool listsBundle = std::any_of(receipt.paths.begin(), receipt.paths.end(),
                                         [&](const QString& path) { return FS::path(path) == bundle; });
    if (listsBundle) {
        return true;
    }
    return !receipt.paths.isEmpty()
        && std::none_of(receipt.paths.begin(), receipt.paths.end(), [](const QString& path) { return FS::exists(path); });
}

} // namespace

Uninstaller::Uninstaller(AppCatalog catalog, std::chrono::milliseconds quitGracePeriod, RemoveFn remove,
                         platform::ToolTable tools, platform::RunningApplications running)
    : catalog_(std::move(catalog))
    , quitGracePeriod_(quitGracePeriod)
    , remove_(std::move(remove))
    , tools_(std::move(tools))
    , running_(std::move(running))
{
}

UninstallPlan Uninstaller::plan(const InstalledApp& app) const
{
    UninstallPlan plan;
    plan.app = app;
    for (const QString& location : catalog_.supportPaths(app.bundleID, app.name)) {
        plan.leftovers.append(planItem(location, false, std::nullopt));
    }
    const QList<PackageReceipt> all = PackageReceipts::thirdParty(tools_);
    plan.receipts = PackageReceipts::receipts(app.url, app.bundleID, all);
    for (const PackageReceipts::ResidueItem& residue : PackageReceipts::residue(plan.receipts, app.url, all)) {
        plan.installedResidue.append(planItem(residue.url, true, residue.receipt.installedDescription()));
    }
    sortBySize(plan.leftovers);
    sortBySize(plan.installedResidue);
    return plan;
}

void Uninstaller::quitIfRunning(const QString& bundleID, const QString& bundlePath) const
{
    const QList<platform::RunningInstance> instances = running_.instances(bundleID, bundlePath);
    if (instances.isEmpty()) {
        return;
    }
    for (const platform::RunningInstance& instance : instances) {
        running_.terminate(instance);
    }
    const auto allQuit = [&] {
        return std::all_of(instances.begin(), instances.end(),
                           [&](const platform::RunningInstance& instance) { return running_.isTerminated(instance); });
    };
    // Most applications quit at once; the grace period is only for those that don't.
    const QDeadlineTimer deadline(quitGracePeriod_);
    while (!allQuit() && !deadline.hasExpired()) {
        std::this_thread::sleep_for(std::min<std::chrono::nanoseconds>(std::chrono::milliseconds(20),
                                                                        deadline.remainingTimeAsDuration()));
    }
    for (const platform::RunningInstance& instance : instances) {
        if (!running_.isTerminated(instance)) {
            running_.forceTerminate(instance);
        }
    }
}

CleanupReport Uninstaller::uninstall(const UninstallPlan& plan, Remover::Mode mode) const
{
    quitIfRunning(plan.app.bundleID, plan.app.url);

    QStringList locations;
    for (const QList<ScanItem>* items : {&plan.leftovers, &plan.installedResidue}) {
        for (const ScanItem& item : *items) {
            if (item.isSelected) {
                locations << item.url;
            }
        }
    }
    locations << plan.app.url;
    CleanupReport report = remove_ ? remove_(locations, mode) : Remover(mode).remove(locations, false);

    const auto isBundle = [&](const CleanupReport::Failure& failure) { return failure.url == plan.app.url; };
    const auto bundleFailure = std::find_if(report.failures.begin(), report.failures.end(), isBundle);
    if (bundleFailure != report.failures.end()
        && bundleFailure->reason.contains(QLatin1String("permission"), Qt::CaseInsensitive)) {
        const QString command = tools_.rm + QStringLiteral(" -rf ")
            + ShellQuoting::doubleQuoted(FS::path(plan.app.url));
        if (runAsAdministrator(command, tools_)) {
            report.failures.removeIf(isBundle);
            report.reclaimed += plan.app.size;
            report.removed += 1;
        }
    }

    if (report.failures.isEmpty()) {
        for (const PackageReceipt& receipt : plan.receipts) {
            if (receipt.packageID.startsWith(QLatin1String("com.apple.")) || !belongsToApp(receipt, plan)) {
                continue;
            }
            runAsAdministrator(tools_.pkgutil + QStringLiteral(" --forget ") + ShellQuoting::word(receipt.packageID),
                               tools_);
        }
    }
    return report;
}

} // namespace harborlite
