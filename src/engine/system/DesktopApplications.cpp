#include "engine/system/DesktopApplications.h"

#include "engine/formats/DesktopEntry.h"
#include "platform/KernelRoots.h"
#include "platform/PathText.h"
#include "platform/ProcessStat.h"
#include "platform/UserId.h"
#include "platform/XdgDataHome.h"
#include "shared/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <unistd.h>

namespace harborlite {

namespace {

constexpr qint64 kMaxSandboxInfoBytes = 64 * 1024;

struct Program {
    QString name;
    QString id;
};

struct Catalogue {
    QHash<QString, Program> byProgram;
    QHash<QString, QString> nameById;
};

// The program file an Exec program names, links resolved; empty when none is there.
QString resolved(const QString& program, const QStringList& searchPath)
{
    if (program.isEmpty()) {
        return {};
    }
    QString candidate = program;
    if (!program.contains(QLatin1Char('/'))) {
        candidate = QStandardPaths::findExecutable(program, searchPath);
    } else if (!program.startsWith(QLatin1Char('/'))) {
        return {};
    }
    return candidate.isEmpty() ? QString() : QFileInfo(candidate).canonicalFilePath();
}

Catalogue catalogue(const DesktopApplications::Locations& locations)
{
    Catalogue result;
    QSet<QString> seen;
    for (const QString& folder : locations.entryFolders) {
        for (const QString& path : FS::children(folder, {.includingHidden = false})) {
            const QString file = FS::lastPathComponent(path);
            if (!file.endsWith(QLatin1String(".desktop"))) {
                continue;
            }
            const QString id = file.chopped(8);
            if (seen.contains(id)) {
                continue;
            }
            seen.insert(id);
            const std::optional<DesktopEntry> entry = DesktopEntry::fromFile(path);
            if (!entry || !entry->isVisibleApplication()) {
                continue;
            }
            const QString name = entry->text(QStringLiteral("Name")).value_or(id);
            result.nameById.insert(id, name);
            const QString program = resolved(entry->program(), locations.searchPath);
            if (!program.isEmpty() && !result.byProgram.contains(program)) {
                result.byProgram.insert(program, {name, id});
            }
        }
    }
    return result;
}

// The executable the process runs, as the kernel names it.
QString executableOf(const QString& processFolder)
{
    QByteArray target(4096, '\0');
    const ssize_t length = ::readlink(platform::pathBytes(processFolder + QStringLiteral("/exe")).constData(),
                                      target.data(), std::size_t(target.size()));
    if (length <= 0 || length >= target.size()) {
        return {};
    }
    target.truncate(length);
    // A program replaced on disk while it runs.
    if (target.endsWith(" (deleted)")) {
        target.chop(10);
    }
    return platform::pathText(target);
}

// The application id of a process inside a Flatpak sandbox, which finds its
// own description at the root of its file system; none outside one.
std::optional<QString> sandboxedApplication(const QString& processFolder)
{
    QFile info(processFolder + QStringLiteral("/root/.flatpak-info"));
    if (!info.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    bool inApplication = false;
    for (const QByteArray& raw : info.read(kMaxSandboxInfoBytes).split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inApplication = line == "[Application]";
        } else if (inApplication && line.startsWith("name=")) {
            const QString id = QString::fromUtf8(line.mid(5)).trimmed();
            return id.isEmpty() ? std::nullopt : std::optional<QString>(id);
        }
    }
    return QString();
}

} // namespace

DesktopApplications::Locations DesktopApplications::Locations::standard()
{
    Locations locations;
    locations.entryFolders.append(platform::xdgDataHome().get() + QStringLiteral("/applications"));
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty()) {
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    }
    for (const QString& folder : dataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (folder.startsWith(QLatin1Char('/'))) {
            locations.entryFolders.append(FS::join(FS::path(folder), QStringLiteral("applications")));
        }
    }
    locations.searchPath = qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return locations;
}

DesktopApplications::DesktopApplications(Locations locations)
    : locations_(std::move(locations))
{
}

QList<ProcessService::Application> DesktopApplications::running(QList<qint32> pids) const
{
    const qint32 self = ::getpid();
    pids.removeIf([self](qint32 pid) { return pid <= 1 || pid == self; });
    std::sort(pids.begin(), pids.end());
    pids.erase(std::unique(pids.begin(), pids.end()), pids.end());
    if (pids.isEmpty()) {
        return {};
    }
    const Catalogue known = catalogue(locations_);
    const QString procRoot = platform::procRoot().get();
    const uid_t user = platform::userId().get();
    QList<ProcessService::Application> applications;
    for (const qint32 pid : pids) {
        const QString folder = procRoot + QLatin1Char('/') + QString::number(pid);
        std::optional<ProcessService::Application> found;
        const QString executable = executableOf(folder);
        auto program = known.byProgram.constFind(executable);
        if (program == known.byProgram.constEnd() && !executable.isEmpty()) {
            program = known.byProgram.constFind(QFileInfo(executable).canonicalFilePath());
        }
        if (program != known.byProgram.constEnd()) {
            found = ProcessService::Application{pid, program->name, program->id};
        } else if (const std::optional<QString> id = sandboxedApplication(folder)) {
            found = ProcessService::Application{pid, known.nameById.value(*id), id->isEmpty() ? std::nullopt : id};
            if (found->localizedName->isEmpty()) {
                found->localizedName = std::nullopt;
            }
        }
        if (found && platform::processOwner(procRoot, pid) == user) {
            applications.append(*found);
        }
    }
    return applications;
}

} // namespace harborlite
