#include "engine/system/MaintenanceService.h"

#include "engine/commands/ShellQuoting.h"
#include "engine/commands/ShellRunner.h"
#include "platform/KernelRoots.h"
#include "platform/UserId.h"
#include "platform/XdgDataHome.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"

#include <QCoreApplication>

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

MaintenanceService::MaintenanceService(platform::ToolTable tools)
    : MaintenanceService(std::move(tools), Limits{})
{
}

MaintenanceService::MaintenanceService(platform::ToolTable tools, Limits limits)
    : tools_(std::move(tools))
    , limits_(limits)
{
}

QList<MaintenanceTask> MaintenanceService::tasks() const
{
    return {
        {"freeRAM", QCoreApplication::translate("MaintenanceService", "Free Up Purgeable Memory"),
         QCoreApplication::translate("MaintenanceService",
                                     "Asks the kernel to release inactive pages and compressed memory."),
         "memorychip", true, QCoreApplication::translate("MaintenanceService", "About 20 seconds"), tools_.sync},
        {"flushDNS", QCoreApplication::translate("MaintenanceService", "Flush DNS Cache"),
         QCoreApplication::translate("MaintenanceService",
                                     "Clears resolved hostnames so sites that moved load correctly."),
         "network", true, QCoreApplication::translate("MaintenanceService", "A few seconds"), tools_.resolvectl},
        {"rebuildSpotlight", QCoreApplication::translate("MaintenanceService", "Reindex Spotlight"),
         QCoreApplication::translate("MaintenanceService",
                                     "Rebuilds the search index. Search stays incomplete until it finishes."),
         "magnifyingglass", true,
         QCoreApplication::translate("MaintenanceService", "Runs in the background for a while"), tools_.mdutil},
        {"rebuildLaunchServices", QCoreApplication::translate("MaintenanceService", "Rebuild Launch Services"),
         QCoreApplication::translate("MaintenanceService",
                                     "Fixes duplicate entries in Open With and wrong file icons."),
         "square.grid.3x3", false, QCoreApplication::translate("MaintenanceService", "About a minute"),
         tools_.updateDesktopDatabase},
        {"repairPermissions", QCoreApplication::translate("MaintenanceService", "Repair Home Permissions"),
         QCoreApplication::translate("MaintenanceService", "Resets ownership and access control on your home folder."),
         "lock.rotation", true, QCoreApplication::translate("MaintenanceService", "One to two minutes"),
         tools_.diskutil},
        {"speedUpMail", QCoreApplication::translate("MaintenanceService", "Speed Up Mail"),
         QCoreApplication::translate("MaintenanceService",
                                     "Compacts the Mail envelope database so the app opens faster."),
         "envelope.badge", false, QCoreApplication::translate("MaintenanceService", "Under a minute"), tools_.sqlite3},
        {"thinSnapshots", QCoreApplication::translate("MaintenanceService", "Thin Time Machine Snapshots"),
         QCoreApplication::translate("MaintenanceService",
                                     "Removes local APFS snapshots that are holding on to disk space."),
         "clock.arrow.2.circlepath", true, QCoreApplication::translate("MaintenanceService", "Under a minute"),
         tools_.tmutil},
        {"verifyDisk", QCoreApplication::translate("MaintenanceService", "Verify Startup Disk"),
         QCoreApplication::translate("MaintenanceService", "Runs a read-only filesystem check and reports any damage."),
         "internaldrive", false, QCoreApplication::translate("MaintenanceService", "One to three minutes"),
         tools_.diskutil},
    };
}

bool MaintenanceService::isAvailable(const MaintenanceTask& task)
{
    return platform::isExecutableFile(task.requiredTool);
}

QString MaintenanceService::missingToolReason(const MaintenanceTask& task)
{
    return QCoreApplication::translate("MaintenanceService", "Needs %1, which is not installed here.")
        .arg(task.requiredTool);
}

MaintenanceResult MaintenanceService::run(const MaintenanceTask& task) const
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
        return QCoreApplication::translate("MaintenanceService", "Inactive memory released.");
    }
    if (id == QLatin1String("flushDNS")) {
        administrator(ShellQuoting::word(tools_.resolvectl) + QStringLiteral(" flush-caches"), tools_);
        return QCoreApplication::translate("MaintenanceService", "DNS cache flushed.");
    }
    if (id == QLatin1String("rebuildSpotlight")) {
        administrator(ShellQuoting::word(tools_.mdutil) + QStringLiteral(" -E / "), tools_);
        return QCoreApplication::translate("MaintenanceService",
                                           "Spotlight is rebuilding its index in the background.");
    }
    if (id == QLatin1String("rebuildLaunchServices")) {
        const ShellRunner::Output output =
            ShellRunner::run(task.requiredTool, {platform::xdgDataHome().get() + QStringLiteral("/applications")},
                             limits_.launchServices);
        if (output.status != 0) {
            throw ShellRunner::RunError::launchFailed(output.standardError);
        }
        return QCoreApplication::translate("MaintenanceService", "Launch Services database rebuilt.");
    }
    if (id == QLatin1String("repairPermissions")) {
        administrator(ShellQuoting::word(tools_.diskutil) + QStringLiteral(" resetUserPermissions / ")
                          + QString::number(platform::userId().get()),
                      tools_);
        return QCoreApplication::translate("MaintenanceService", "Home folder permissions reset.");
    }
    if (id == QLatin1String("speedUpMail")) {
        return compactMailIndex();
    }
    if (id == QLatin1String("thinSnapshots")) {
        const QStringList lines = ShellRunner::lines(
            administrator(ShellQuoting::word(tools_.tmutil) + QStringLiteral(" deletelocalsnapshots /"), tools_));
        const auto removed = std::count_if(lines.begin(), lines.end(),
                                           [](const QString& line) { return line.contains(QLatin1String("Deleted")); });
        return removed > 0 ? QCoreApplication::translate("MaintenanceService", "Removed %1 local snapshot(s).")
                                 .arg(QString::number(removed))
                           : QCoreApplication::translate("MaintenanceService", "No local snapshots needed removing.");
    }
    if (id == QLatin1String("verifyDisk")) {
        const ShellRunner::Output output =
            ShellRunner::run(tools_.diskutil, {QStringLiteral("verifyVolume"), QStringLiteral("/")}, limits_.verify);
        const QStringList lines = ShellRunner::lines(output.standardOutput);
        return lines.isEmpty() ? QCoreApplication::translate("MaintenanceService", "Verification finished.")
                               : trimmedBlanks(lines.last());
    }
    throw ShellRunner::RunError::launchFailed(
        QCoreApplication::translate("MaintenanceService", "Unknown task %1.").arg(id));
}

MaintenanceResult MaintenanceService::compactMailIndex() const
{
    qint64 reclaimed = 0;
    int compacted = 0;
    for (const QString& folder : FS::children(FS::library() + QStringLiteral("/Mail"), {.includingHidden = false})) {
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
        return {QCoreApplication::translate("MaintenanceService", "No Mail database found to compact."), true};
    }
    return QCoreApplication::translate("MaintenanceService", "Compacted %1 Mail database(s), reclaiming %2.")
        .arg(QString::number(compacted), Format::byteText(reclaimed));
}

} // namespace harborlite
