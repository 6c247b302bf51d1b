#include "engine/system/ProcessService.h"

#include "engine/system/DesktopApplications.h"

#include "platform/FileDescriptor.h"
#include "platform/KernelRoots.h"
#include "platform/PathText.h"
#include "platform/ProcessName.h"
#include "platform/ProcessStat.h"
#include "platform/UserId.h"

#include <QHash>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace harborlite {

namespace {

constexpr auto defaultPause = std::chrono::milliseconds(500);

struct Reading {
    qint32 pid = 0;
    quint64 startTime = 0;
    quint64 ticks = 0;
    quint64 residentPages = 0;
    // The kernel's command name, as bytes: it may be cut inside a character.
    std::string command;
};

class Folder {
public:
    explicit Folder(const QString& path)
        : dir_(::opendir(platform::pathBytes(path).constData()))
    {
    }
    ~Folder()
    {
        if (dir_ != nullptr) {
            ::closedir(dir_);
        }
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    DIR* get() const { return dir_; }

private:
    DIR* dir_;
};

std::optional<qint32> pidOf(const char* name)
{
    const std::string_view text(name);
    qint32 pid = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || pid <= 0) {
        return std::nullopt;
    }
    return pid;
}

// Every process under the proc root, in pid order; names only when asked.
std::vector<Reading> readProcesses(const QString& procRoot, bool withNames)
{
    std::vector<Reading> readings;
    Folder folder(procRoot);
    if (folder.get() == nullptr) {
        return readings;
    }
    const int folderFd = ::dirfd(folder.get());
    char buffer[1024];
    while (const dirent* entry = ::readdir(folder.get())) {
        const std::optional<qint32> pid = pidOf(entry->d_name);
        if (!pid) {
            continue;
        }
        char statPath[32];
        const auto [end, error] = std::to_chars(statPath, statPath + 20, *pid);
        std::copy_n("/stat", 6, end);
        const platform::FileDescriptor fd(::openat(folderFd, statPath, O_RDONLY | O_CLOEXEC));
        if (!fd.isOpen()) {
            continue;
        }
        ssize_t count = 0;
        do {
            count = ::read(fd.get(), buffer, sizeof buffer);
        } while (count < 0 && errno == EINTR);
        if (count <= 0) {
            continue;
        }
        const std::optional<platform::ProcessStat> stat = platform::parseProcessStat({buffer, std::size_t(count)});
        if (!stat) {
            continue;
        }
        Reading reading{*pid, stat->startTime, stat->userTicks + stat->systemTicks, stat->residentPages, {}};
        if (withNames) {
            reading.command = stat->command;
        }
        readings.push_back(std::move(reading));
    }
    std::sort(readings.begin(), readings.end(), [](const Reading& a, const Reading& b) { return a.pid < b.pid; });
    return readings;
}

double sleepThroughPause()
{
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(defaultPause);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

ProcessService::ApplicationList ProcessService::desktopApplications()
{
    return [](const QList<qint32>& pids) { return DesktopApplications().running(pids); };
}

ProcessService::ProcessService(ApplicationList applications, Pause pause, platform::RunningApplications running)
    : applications_(std::move(applications))
    , pause_(pause ? std::move(pause) : Pause(sleepThroughPause))
    , running_(std::move(running))
{
}

QList<RunningProcess> ProcessService::topProcesses(int limit) const
{
    if (limit <= 0) {
        return {};
    }
    const QString procRoot = platform::procRoot().get();
    const std::vector<Reading> before = readProcesses(procRoot, false);
    if (before.empty()) {
        return {};
    }
    const double seconds = pause_();
    const std::vector<Reading> after = readProcesses(procRoot, true);

    const double ticksPerSecond = double(::sysconf(_SC_CLK_TCK));
    const qint64 pageSize = ::sysconf(_SC_PAGESIZE);
    // Each process with the reading it came from, whose command name it shows
    // unless it is a named application.
    std::vector<std::pair<RunningProcess, const Reading*>> processes;
    processes.reserve(after.size());
    for (const Reading& now : after) {
        const auto earlier = std::lower_bound(before.begin(), before.end(), now.pid,
                                              [](const Reading& r, qint32 pid) { return r.pid < pid; });
        // A process not seen before, or a new one under a recycled pid, began
        // during the pause: all its time falls inside it.
        const bool same = earlier != before.end() && earlier->pid == now.pid && earlier->startTime == now.startTime;
        const quint64 used = same ? (now.ticks >= earlier->ticks ? now.ticks - earlier->ticks : 0) : now.ticks;

        RunningProcess process;
        process.pid = now.pid;
        process.cpu = seconds > 0 && ticksPerSecond > 0 ? double(used) / (seconds * ticksPerSecond) * 100.0 : 0.0;
        process.memory = qint64(std::min<quint64>(now.residentPages, quint64(INT64_MAX / pageSize))) * pageSize;
        process.startTime = now.startTime;
        processes.emplace_back(std::move(process), &now);
    }
    std::stable_sort(processes.begin(), processes.end(),
                     [](const auto& a, const auto& b) { return a.first.cpu > b.first.cpu; });
    if (processes.size() > std::size_t(limit)) {
        processes.resize(std::size_t(limit));
    }

    // Telling an application costs several files per process: only the kept
    // ones are asked about.
    QHash<qint32, Application> applications;
    if (applications_) {
        QList<qint32> pids;
        pids.reserve(qsizetype(processes.size()));
        for (const auto& [process, reading] : processes) {
            pids.append(process.pid);
        }
        std::sort(pids.begin(), pids.end());
        for (const Application& application : applications_(pids)) {
            if (application.pid > 0 && !applications.contains(application.pid)) {
                applications.insert(application.pid, application);
            }
        }
    }
    // Names that may need another file are looked up only for the kept rows.
    QList<RunningProcess> kept;
    kept.reserve(qsizetype(processes.size()));
    for (auto& [process, reading] : processes) {
        if (const auto application = applications.constFind(process.pid); application != applications.constEnd()) {
            process.isApplication = true;
            if (application->localizedName && !application->localizedName->isEmpty()) {
                process.name = *application->localizedName;
            }
            process.bundleID = application->bundleID;
        }
        if (process.name.isEmpty()) {
            process.name = platform::processName(procRoot, process.pid, reading->command);
        }
        kept.append(std::move(process));
    }
    return kept;
}

bool ProcessService::mayQuit(const RunningProcess& process) const
{
    const QString procRoot = platform::procRoot().get();
    return process.isApplication && process.pid > 1 && process.pid != ::getpid() && process.startTime != 0
        && platform::processStartTime(procRoot, process.pid) == process.startTime
        && platform::processOwner(procRoot, process.pid) == platform::userId().get();
}

void ProcessService::quit(const RunningProcess& process) const
{
    running_.terminate({process.pid, process.startTime});
}

void ProcessService::forceQuit(const RunningProcess& process) const
{
    running_.forceTerminate({process.pid, process.startTime});
}

} // namespace harborlite
