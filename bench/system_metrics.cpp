// The cost of one metrics sample and of one process-list refresh, each timed
// against its peer in the same run, seven rounds, min/median/max and ratio:
//   - one SystemMetrics::snapshot() against reading the same counter files the
//     plain way (QFile open, readAll, close each time, parsing nothing);
//   - one ProcessService refresh (both /proc readings, no pause) against one
//     run of `ps -Ao pid=,pcpu=,rss=,comm=`.
// Then the sampler's share of one core at one sample per second: processor
// time per sample from the tight loop, and measured over ten paced seconds.
#include "engine/commands/ShellRunner.h"
#include "engine/system/ProcessService.h"
#include "shared/SystemMetrics.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <thread>
#include <vector>

using namespace harborlite;

namespace {

std::atomic<long> allocations{0};

double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double wallSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct Rounds {
    std::vector<double> perCall;

    double min() const { return *std::min_element(perCall.begin(), perCall.end()); }
    double max() const { return *std::max_element(perCall.begin(), perCall.end()); }
    double median() const
    {
        std::vector<double> sorted = perCall;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
};

// Seconds of wall time per call, seven rounds of `calls` calls after a warm-up.
Rounds time(const std::function<void()>& call, int calls)
{
    for (int i = 0; i < calls / 10 + 1; ++i) {
        call();
    }
    Rounds rounds;
    for (int round = 0; round < 7; ++round) {
        const double start = wallSeconds();
        for (int i = 0; i < calls; ++i) {
            call();
        }
        rounds.perCall.push_back((wallSeconds() - start) / calls);
    }
    return rounds;
}

void report(const char* name, const Rounds& ours, const char* peerName, const Rounds& peer)
{
    std::printf("%-28s min %9.2f us  median %9.2f us  max %9.2f us\n", name, ours.min() * 1e6, ours.median() * 1e6,
                ours.max() * 1e6);
    std::printf("%-28s min %9.2f us  median %9.2f us  max %9.2f us\n", peerName, peer.min() * 1e6, peer.median() * 1e6,
                peer.max() * 1e6);
    std::printf("%-28s %.3f (median against median)\n\n", "ratio", ours.median() / peer.median());
}

} // namespace

// Every heap allocation is counted, Qt's (malloc) and C++'s (operator new,
// which calls malloc) alike, by forwarding to the C library's own allocator.
// The sanitizers bring their own allocator, so their build counts nothing.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);

void* malloc(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}

void* realloc(void* p, std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, size);
}
}
#endif

int main()
{
    SystemMetrics metrics;
    const char* files[] = {"/proc/stat", "/proc/meminfo", "/proc/pressure/memory", "/proc/net/dev", "/proc/uptime"};
    const Rounds sample = time([&] { metrics.snapshot(); }, 2000);
    const Rounds plain = time(
        [&] {
            for (const char* name : files) {
                QFile file(QString::fromLatin1(name));
                if (file.open(QIODevice::ReadOnly)) {
                    file.readAll();
                }
            }
        },
        2000);
    report("SystemMetrics::snapshot", sample, "plain reads of the files", plain);

    const long before = allocations.load();
    const double cpuStart = threadSeconds();
    constexpr int counted = 2000;
    for (int i = 0; i < counted; ++i) {
        metrics.snapshot();
    }
    const double cpuPerSample = (threadSeconds() - cpuStart) / counted;
    std::printf("heap allocations per sample: %.2f\n", double(allocations.load() - before) / counted);
    std::printf("processor time per sample: %.2f us -> %.4f %% of one core at one sample per second\n",
                cpuPerSample * 1e6, cpuPerSample * 100.0);

    constexpr int pacedSeconds = 10;
    const double pacedCpu = threadSeconds();
    const double pacedWall = wallSeconds();
    for (int i = 0; i < pacedSeconds; ++i) {
        metrics.snapshot();
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    std::printf("paced over %d s: %.4f %% of one core (thread time over wall time)\n\n", pacedSeconds,
                (threadSeconds() - pacedCpu) / (wallSeconds() - pacedWall) * 100.0);

    const ProcessService processes({}, [] { return 1.0; });
    const Rounds refresh = time([&] { processes.topProcesses(40); }, 20);
    const Rounds ps = time(
        [] {
            ShellRunner::run(QStringLiteral("/bin/ps"),
                             {QStringLiteral("-Ao"), QStringLiteral("pid=,pcpu=,rss=,comm=")}, 15);
        },
        20);
    report("ProcessService refresh", refresh, "ps -Ao pid,pcpu,rss,comm", ps);
    return 0;
}
