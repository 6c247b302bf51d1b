#include "core/services/Uninstaller.h"

#include "core/scanners/SizeOrder.h"
#include "core/services/PackageReceipts.h"
#include "core/services/ShellQuoting.h"
#include "core/services/ShellRunner.h"
#include "platform/RunningApplications.h"
#include "platform/ToolTable.h"
#include "shared/FileSystem.h"

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
bool runAsAdministrator(const QString& commandLine)
{
    try {
        ShellRunner::runPrivileged(commandLine);
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

Uninstaller::Uninstaller(AppCatalog catalog, std::chrono::milliseconds quitGracePeriod, RemoveFn remove)
    : catalog_(std::move(catalog)), quitGracePeriod_(quitGracePeriod), remove_(std::move(remove))
{
}

UninstallPlan Uninstaller::plan(const InstalledApp& app) const
{
    UninstallPlan plan;
    plan.app = app;
    for (const QString& location : catalog_.supportPaths(app.bundleID, app.name)) {
        plan.leftovers.append(planItem(location, false, std::nullopt));
    }
    const QList<PackageReceipt> all = PackageReceipts::thirdParty();
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
    const platform::RunningApplications apps = platform::runningApplications().get();
    const QList<platform::RunningInstance> instances = apps.instances(bundleID, bundlePath);
    if (instances.isEmpty()) {
        return;
    }
    for (const platform::RunningInstance& instance : instances) {
        apps.terminate(instance);
    }
    std::this_thread::sleep_for(quitGracePeriod_);
    for (const platform::RunningInstance& instance : instances) {
        if (!apps.isTerminated(instance)) {
            apps.forceTerminate(instance);
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
        const QString command = platform::tools().get().rm + QStringLiteral(" -rf ")
            + ShellQuoting::doubleQuoted(FS::path(plan.app.url));
        if (runAsAdministrator(command)) {
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
            runAsAdministrator(platform::tools().get().pkgutil + QStringLiteral(" --forget ")
                               + ShellQuoting::word(receipt.packageID));
        }
    }
    return report;
}

} // namespace harborlite
