#include "platform/RunningApplications.h"

#include "platform/PathText.h"
#include "platform/ProcessStat.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace harborlite::platform {

namespace {

quint64 startTimeOf(pid_t pid)
{
    return processStartTime(QStringLiteral("/proc"), pid);
}

bool mayBeSignalled(const RunningInstance& instance)
{
    return instance.pid > 1 && instance.pid != ::getpid() && instance.startTime != 0
        && startTimeOf(instance.pid) == instance.startTime;
}

QList<pid_t> otherProcesses()
{
    QList<pid_t> pids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool ok = false;
        const pid_t pid = entry.toInt(&ok);
        if (ok && pid > 1 && pid != ::getpid()) {
            pids.append(pid);
        }
    }
    return pids;
}

// The process's executable file itself: still readable after it was renamed or deleted.
std::optional<FileIdentity> executableOf(pid_t pid)
{
    struct stat st { };
    if (::stat(QByteArray("/proc/" + QByteArray::number(pid) + "/exe").constData(), &st) != 0) {
        return std::nullopt;
    }
    return FileIdentity{quint64(st.st_dev), quint64(st.st_ino)};
}

bool runsFrom(pid_t pid, const FileIdentity& file)
{
    return executableOf(pid) == file;
}

bool runsInside(pid_t pid, const QString& folder)
{
    const QString executable = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid));
    return !executable.isEmpty() && isBelow(executable, folder);
}

QList<RunningInstance> processesOf(const QString& bundlePath, const std::optional<FileIdentity>& planned)
{
    QList<RunningInstance> result;
    const QString bundle = path(bundlePath);
    struct stat st { };
    if (::lstat(pathBytes(bundle).constData(), &st) != 0) {
        return result;
    }
    const FileIdentity now{quint64(st.st_dev), quint64(st.st_ino)};
    if ((!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) || (planned && *planned != now)) {
        // A link or another file put in its place runs nothing of the application.
        return result;
    }
    for (const pid_t pid : otherProcesses()) {
        if (!(S_ISREG(st.st_mode) ? runsFrom(pid, now) : runsInside(pid, bundle))) {
            continue;
        }
        if (const quint64 start = startTimeOf(pid); start != 0) {
            result.append({pid, start});
        }
    }
    return result;
}

void signal(const RunningInstance& instance, int signalNumber)
{
    if (mayBeSignalled(instance)) {
        ::kill(instance.pid, signalNumber);
    }
}

} // namespace

RunningApplications runningApplications()
{
    return RunningApplications{
        [](const QString&, const QString& bundlePath, const std::optional<FileIdentity>& planned) {
            return processesOf(bundlePath, planned);
        },
        [](const RunningInstance& instance) { signal(instance, SIGTERM); },
        [](const RunningInstance& instance) { signal(instance, SIGKILL); },
        [](const RunningInstance& instance) { return startTimeOf(instance.pid) != instance.startTime; },
    };
}

} // namespace harborlite::platform
