#pragma once

#include "platform/FileIdentity.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>
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
// Linux an instance of a single-file application (an AppImage) is a process
// whose executable is that very file (same device and inode, however it is
// named); of a bundle folder, a process whose executable lies inside the
// folder as named. The file or folder must still be what it was: not a link,
// and, when `planned` gives the file's identity from the plan, that same file;
// otherwise nothing is running of it. Terminate sends SIGTERM and
// forceTerminate SIGKILL, each only after checking that the pid still names the
// same process, never to pid 1 or to ourselves.
struct RunningApplications {
    std::function<QList<RunningInstance>(const QString& bundleID, const QString& bundlePath,
                                         const std::optional<FileIdentity>& planned)>
        instances;
    std::function<void(const RunningInstance&)> terminate;
    std::function<void(const RunningInstance&)> forceTerminate;
    std::function<bool(const RunningInstance&)> isTerminated;
};

// The machine's own processes.
RunningApplications runningApplications();

} // namespace harborlite::platform
