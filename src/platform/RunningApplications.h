#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <sys/types.h>

namespace harborlite::platform {

// One running instance of an application.
struct RunningInstance {
    pid_t pid = 0;
    // Kernel start time of the process, so a recycled pid is never signalled.
    quint64 startTime = 0;

    bool operator==(const RunningInstance&) const = default;
};

// The running instances of an application and the requests to quit them. On
// Linux an instance is a process whose executable lies inside the bundle;
// terminate sends SIGTERM and forceTerminate SIGKILL, each only after checking
// that the pid still names the same process, never to pid 1 or to ourselves.
struct RunningApplications {
    std::function<QList<RunningInstance>(const QString& bundleID, const QString& bundlePath)> instances;
    std::function<void(const RunningInstance&)> terminate;
    std::function<void(const RunningInstance&)> forceTerminate;
    std::function<bool(const RunningInstance&)> isTerminated;
};

// The machine's own processes.
RunningApplications runningApplications();

} // namespace harborlite::platform
