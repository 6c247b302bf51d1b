#pragma once

#include "engine/models/RunningProcess.h"
#include "platform/RunningApplications.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace harborlite {

// The processes using the most processor time right now, from two readings of
// /proc/<pid>/stat under the proc root (platform::procRoot) a moment apart:
// the kernel's own lifetime average says nothing about "now". It keeps nothing
// between calls.
class ProcessService {
public:
    // A running application known to the desktop.
    struct Application {
        qint32 pid = 0;
        std::optional<QString> localizedName;
        std::optional<QString> bundleID;
    };
    // The applications among the given processes (pids in ascending order).
    using ApplicationList = std::function<QList<Application>(const QList<qint32>& pids)>;
    // Waits between the two readings and answers the seconds that passed.
    using Pause = std::function<double()>;

    // The desktop's applications among the processes (DesktopApplications).
    static ApplicationList desktopApplications();

    // An empty application list makes no process an application. The
    // default pause is half a second.
    explicit ProcessService(ApplicationList applications = desktopApplications(), Pause pause = {},
                            platform::RunningApplications running = platform::runningApplications());

    // At most `limit` processes, busiest first; equally busy ones in pid
    // order. Blocks for the pause. Never fails: an unreadable proc root gives
    // an empty list, and a process that ends between the readings is left out.
    // Only the processes kept are looked up among the applications.
    QList<RunningProcess> topProcesses(int limit) const;

    // Whether a quit request may reach the process: an application when it
    // was sampled, still the same process (its start time under the proc
    // root), the user's own, neither pid 1 or below nor this process.
    bool mayQuit(const RunningProcess& process) const;

    // Asks the process to quit (SIGTERM), or ends it (SIGKILL), only when its
    // pid still names the same process (start time), never pid 1 or below and
    // never this process.
    void quit(const RunningProcess& process) const;
    void forceQuit(const RunningProcess& process) const;

private:
    ApplicationList applications_;
    Pause pause_;
    platform::RunningApplications running_;
};

} // namespace harborlite
