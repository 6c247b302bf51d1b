#include "engine/services/MaintenanceService.h"

#include "engine/services/ShellQuoting.h"
#include "engine/services/ShellRunner.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"
#include "platform/KernelRoots.h"
#include "platform/UserId.h"
#include "platform/XdgDataHome.h"

#include <algorithm>

namespace harborlite {

namespace {

QString administrator(const QString& commandLine, const platform::ToolTable& tools)
{
    return ShellRunner::runPrivileged(commandLine, tools).standardOutput;
}

QString trimmedBlanks(QString text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    const auto blank = [&text](qsizetype i) { return text.at(i) == u' ' || text.at(i) == u'\t'; };
    while (start < end && blank(start)) {
        ++start;
    }
    while (end > start && blank(end - 1)) {
        --end;
    }
    return text.mid(start, end - start);
}

} // namespace

MaintenanceService::MaintenanceService(platform::ToolTable tools) : MaintenanceService(std::move(tools), Limits{}) {}

MaintenanceService::MaintenanceService(platform::ToolTable tools, Limits limits)
    : tools_(std::move(tools))
    , limits_(limits)
{
}

QList<MaintenanceTask> MaintenanceService::tasks() const
{
    return {
        {"freeRAM", "Free Up Purgeable Memory", "Asks the kernel to release inactive pages and compressed memory.",
         "memorychip", true, "About 20 seconds", tools_.sync},
        {"flushDNS", "Flush DNS Cache", "Clears resolved hostnames so sites that moved load correctly.", "network",
         true, "A few seconds", tools_.resolvectl},
        {"rebuildSpotlight", "Reindex Spotlight",
         "Rebuilds the search index. Search stays incomplete until it finishes.", "magnifyingglass", true,
         "Runs in the background for a while", tools_.mdutil},
        {"rebuildLaunchServices", "Rebuild Launch Services", "Fixes duplicate entries in Open With and wrong file icons.",
         "square.grid.3x3", false, "About a minute", tools_.updateDesktopDatabase},
        {"repairPermissions", "Repair Home Permissions", "Resets ownership and access control on your home folder.",
         "lock.rotation", true, "One to two minutes", tools_.diskutil},
        {"speedUpMail", "Speed Up Mail", "Compacts the Mail envelope database so the app opens faster.",
         "envelope.badge", false, "Under a minute", tools_.sqlite3},
        {"thinSnapshots", "Thin Time Machine Snapshots", "Removes local APFS snapshots that are holding on to disk space.",
         "clock.arrow.2.circlepath", true, "Under a minute", tools_.tmutil},
        {"verifyDisk", "Verify Startup Disk", "Runs a read-only filesystem check and reports any damage.",
         "internaldrive", false, "One to three minutes", tools_.diskutil},
    };
}

bool MaintenanceService::isAvailable(const MaintenanceTask& task)
{
    return platform::isExecutableFile(task.requiredTool);
}

QString MaintenanceService::run(const MaintenanceTask& task) const
{
    if (!isAvailable(task)) {
        throw ShellRunner::RunError::toolMissing(task.requiredTool);
    }
    const QString& id = task.id;
    if (id == QLatin1String("freeRAM")) {
        // Written-back pages are the only ones the kernel can drop.
        administrator(ShellQuoting::word(tools_.sync) + QStringLiteral(" && echo 3 > ")
                          + ShellQuoting::word(platform::procRoot().get() + QStringLiteral("/sys/vm/drop_caches")),
                      tools_);
        return QStringLiteral("Inactive memory released.");
    }
    if (id == QLatin1String("flushDNS")) {
        administrator(ShellQuoting::word(tools_.resolvectl) + QStringLiteral(" flush-caches"), tools_);
        return QStringLiteral("DNS cache flushed.");
    }
    if (id == QLatin1String("rebuildSpotlight")) {
        administrator(ShellQuoting::word(tools_.mdutil) + QStringLiteral(" -E / "), tools_);
        return QStringLiteral("Spotlight is rebuilding its index in the background.");
    }
    if (id == QLatin1String("rebuildLaunchServices")) {
        const ShellRunner::Output output =
            ShellRunner::run(task.requiredTool, {platform::xdgDataHome().get() + QStringLiteral("/applications")},
                             limits_.launchServices);
        if (output.status != 0) {
            throw ShellRunner::RunError::launchFailed(output.standardError);
        }
        return QStringLiteral("Launch Services database rebuilt.");
    }
    if (id == QLatin1String("repairPermissions")) {
        administrator(ShellQuoting::word(tools_.diskutil) + QStringLiteral(" resetUserPermissions / ")
                          + QString::number(platform::userId().get()),
                      tools_);
        return QStringLiteral("Home folder permissions reset.");
    }
    if (id == QLatin1String("speedUpMail")) {
        return compactMailIndex();
    }
    if (id == QLatin1String("thinSnapshots")) {
        const QStringList lines =
            ShellRunner::lines(administrator(ShellQuoting::word(tools_.tmutil) + QStringLiteral(" deletelocalsnapshots /"), tools_));
        const auto removed = std::count_if(lines.begin(), lines.end(),
                                           [](const QString& line) { return line.contains(QLatin1String("Deleted")); });
        return removed > 0 ? QStringLiteral("Removed ") + QString::number(removed) + QStringLiteral(" local snapshot(s).")
                           : QStringLiteral("No local snapshots needed removing.");
    }
    if (id == QLatin1String("verifyDisk")) {
        const ShellRunner::Output output =
            ShellRunner::run(tools_.diskutil, {QStringLiteral("verifyVolume"), QStringLiteral("/")}, limits_.verify);
        const QStringList lines = ShellRunner::lines(output.standardOutput);
        return lines.isEmpty() ? QStringLiteral("Verification finished.") : trimmedBlanks(lines.last());
    }
    throw ShellRunner::RunError::launchFailed(QStringLiteral("Unknown task ") + id + QLatin1Char('.'));
}

QString MaintenanceService::compactMailIndex() const
{
    qint64 reclaimed = 0;
    int compacted = 0;
    for (const QString& folder : FS::children(FS::library() + QStringLiteral("/Mail"), false)) {
        if (!FS::lastPathComponent(folder).startsWith(QLatin1Char('V'))) {
            continue;
        }
        const QString database = folder + QStringLiteral("/MailData/Envelope Index");
        if (!FS::exists(database)) {
            continue;
        }
        const qint64 before = FS::allocatedSize(database);
        const ShellRunner::Output output =
            ShellRunner::run(tools_.sqlite3, {database, QStringLiteral("vacuum;")}, limits_.mail);
        if (output.status != 0) {
            continue;
        }
        reclaimed += std::max<qint64>(0, before - FS::allocatedSize(database));
        ++compacted;
    }
    if (compacted == 0) {
        return QStringLiteral("No Mail database found to compact.");
    }
    return QStringLiteral("Compacted ") + QString::number(compacted) + QStringLiteral(" Mail database(s), reclaiming ")
        + (reclaimed > 0 ? Format::bytes(reclaimed) : QStringLiteral("0 KB")) + QLatin1Char('.');
}

} // namespace harborlite
