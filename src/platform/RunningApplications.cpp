#include "platform/RunningApplications.h"

#include "platform/PathText.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace harborlite::platform {

namespace {

// Field 22 of /proc/<pid>/stat; 0 when the process is gone. The command name
// (field 2) may hold spaces and parentheses, so fields are counted after the
// last ")".
quint64 startTimeOf(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    if (close < 0) {
        return 0;
    }
    const QList<QByteArray> fields = text.mid(close + 2).split(' ');
    // fields[0] is field 3 (state), so field 22 is fields[19].
    if (fields.size() < 20 || fields.at(0) == "Z") {
        return 0;
    }
    return fields.at(19).toULongLong();
}

bool mayBeSignalled(const RunningInstance& instance)
{
    return instance.pid > 1 && instance.pid != ::getpid() && instance.startTime != 0
        && startTimeOf(instance.pid) == instance.startTime;
}

QList<RunningInstance> processesInside(const QString& bundlePath)
{
    QList<RunningInstance> result;
    const QString bundle = QFileInfo(bundlePath).canonicalFilePath();
    if (bundle.isEmpty()) {
        return result;
    }
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool ok = false;
        const pid_t pid = entry.toInt(&ok);
        if (!ok || pid <= 1 || pid == ::getpid()) {
            continue;
        }
        const QString executable = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid));
        if (executable.isEmpty() || !isBelow(executable, bundle)) {
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
        [](const QString&, const QString& bundlePath) { return processesInside(bundlePath); },
        [](const RunningInstance& instance) { signal(instance, SIGTERM); },
        [](const RunningInstance& instance) { signal(instance, SIGKILL); },
        [](const RunningInstance& instance) { return startTimeOf(instance.pid) != instance.startTime; },
    };
}

} // namespace harborlite::platform
