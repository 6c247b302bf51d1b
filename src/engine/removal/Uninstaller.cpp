#include "engine/removal/Uninstaller.h"

#include "engine/apps/FlatpakInstallation.h"
#include "engine/apps/PackageReceipts.h"
#include "engine/commands/ShellQuoting.h"
#include "engine/commands/ShellRunner.h"
#include "engine/models/SizeOrder.h"
#include "shared/FileSystem.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>

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
    item.size = FS::size(location, {.descendIntoPackages = true});
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
        && std::none_of(receipt.paths.begin(), receipt.paths.end(),
                        [](const QString& path) { return FS::exists(path); });
}

QStringList selectedLocations(const UninstallPlan& plan)
{
    QStringList locations;
    for (const QList<ScanItem>* items : {&plan.leftovers, &plan.installedResidue}) {
        for (const ScanItem& item : *items) {
            if (item.isSelected) {
                locations << item.url;
            }
        }
    }
    return locations;
}

} // namespace

CleanupReport Uninstaller::refusedAsPackaged(const UninstallPlan& plan)
{
    CleanupReport report;
    report.failures.append({plan.app.url, packagedReason()});
    return report;
}

QString Uninstaller::packagedReason()
{
    return QCoreApplication::translate("Uninstaller", "Installed by a package; remove it with the package manager.");
}

CleanupReport Uninstaller::uninstallFlatpak(const UninstallPlan& plan, Remover::Mode mode) const
{
    const QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    CleanupReport report;
    const QString& id = plan.app.bundleID;
    // Gone since it was listed: nothing to remove, as for any other vanished location.
    if (!FS::exists(plan.app.url)) {
        return remove(selectedLocations(plan), mode);
    }
    const auto fail = [&](const QString& reason) {
        report.failures.append({plan.app.url, reason});
        report.duration = static_cast<double>(clock.elapsed()) / 1000.0;
        return report;
    };
    if (!FlatpakInstallation::isValidAppId(id)) {
        return fail(QCoreApplication::translate("Uninstaller", "Not a Flatpak application id: %1").arg(id));
    }
    if (!platform::isExecutableFile(tools_.flatpak)) {
        return fail(ShellRunner::RunError::toolMissing(tools_.flatpak).errorDescription());
    }
    const qint64 size = FS::size(plan.app.url, {.descendIntoPackages = true});
    const QStringList arguments = {QStringLiteral("uninstall"), QStringLiteral("--noninteractive"),
                                   plan.app.isSystemScope ? QStringLiteral("--system") : QStringLiteral("--user"), id};
    try {
        const ShellRunner::Output output = ShellRunner::run(tools_.flatpak, arguments, flatpakTimeoutSeconds);
        if (output.status != 0) {
            const QStringList lines = ShellRunner::lines(output.standardError);
            return fail(ShellRunner::RunError::commandFailed(
                            lines.isEmpty() ? QCoreApplication::translate("ShellRunner", "The task did not complete.")
                                            : lines.last().trimmed())
                            .errorDescription());
        }
    } catch (const ShellRunner::RunError& error) {
        return fail(error.errorDescription());
    }
    // The application is gone; only now does its data go, so a refused
    // removal never leaves an installed application without its data.
    report = remove(selectedLocations(plan), mode);
    report.removed += 1;
    report.reclaimed += size;
    report.duration = static_cast<double>(clock.elapsed()) / 1000.0;
    return report;
}

CleanupReport Uninstaller::remove(const QStringList& locations, Remover::Mode mode) const
{
    return remove_ ? remove_(locations, mode) : Remover(mode).remove(locations, false);
}

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
    if (app.kind == InstalledApp::Kind::appImage) {
        plan.appFile = platform::regularFileIdentity(app.url);
    }
    for (const QString& location : catalog_.leftoverPaths(app)) {
        plan.leftovers.append(planItem(location, false, std::nullopt));
    }
    // Installer receipts only ever describe bundles.
    if (app.kind != InstalledApp::Kind::bundle) {
        sortBySize(plan.leftovers);
        return plan;
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

void Uninstaller::quitIfRunning(const UninstallPlan& plan) const
{
    // An AppImage runs as its own file: its process's executable is the file.
    const QList<platform::RunningInstance> instances =
        running_.instances(plan.app.bundleID, plan.app.url, plan.appFile);
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
        std::this_thread::sleep_for(
            std::min<std::chrono::nanoseconds>(std::chrono::milliseconds(20), deadline.remainingTimeAsDuration()));
    }
    for (const platform::RunningInstance& instance : instances) {
        if (!running_.isTerminated(instance)) {
            running_.forceTerminate(instance);
        }
    }
}

CleanupReport Uninstaller::uninstall(const UninstallPlan& plan, Remover::Mode mode) const
{
    switch (plan.app.kind) {
    case InstalledApp::Kind::debianPackage:
        return refusedAsPackaged(plan);
    case InstalledApp::Kind::flatpak:
        return uninstallFlatpak(plan, mode);
    case InstalledApp::Kind::bundle:
    case InstalledApp::Kind::appImage:
        break;
    }
    quitIfRunning(plan);

    QStringList locations = selectedLocations(plan);
    locations << plan.app.url;
    CleanupReport report = remove(locations, mode);

    const auto isBundle = [&](const CleanupReport::Failure& failure) { return failure.url == plan.app.url; };
    const auto bundleFailure = std::find_if(report.failures.begin(), report.failures.end(), isBundle);
    if (bundleFailure != report.failures.end()
        && bundleFailure->reason.contains(QLatin1String("permission"), Qt::CaseInsensitive)) {
        const QString command =
            tools_.rm + QStringLiteral(" -rf ") + ShellQuoting::doubleQuoted(FS::path(plan.app.url));
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
