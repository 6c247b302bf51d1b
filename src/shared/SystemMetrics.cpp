#include "shared/SystemMetrics.h"

#include "platform/KernelRoots.h"
#include "platform/SteadyClock.h"
#include "shared/FileSystem.h"

#include <algorithm>
#include <array>
#include <limits>

namespace harborlite {

namespace {

// Only the "cpu" line at the start of /proc/stat is wanted; the rest of the
// file grows with the number of processors and interrupts.
constexpr std::size_t statPrefixBytes = 1024;
// Two samples closer than this give no network rate.
constexpr std::chrono::milliseconds shortestInterval(50);

// The interfaces whose traffic is the machine's own: wired, wireless and
// mobile links, bridges and tunnels. The loopback interface and the virtual
// pairs of containers are left out.
bool countsTowardsTraffic(std::string_view name)
{
    constexpr std::array<std::string_view, 8> prefixes = {"en", "bridge", "utun", "eth", "wl", "ww", "tun", "wg"};
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [name](std::string_view prefix) { return name.substr(0, prefix.size()) == prefix; });
}

qint64 toBytes(quint64 value)
{
    return value > quint64(std::numeric_limits<qint64>::max()) ? std::numeric_limits<qint64>::max() : qint64(value);
}

// A counter that went backwards (a reset, an interface that went away) gives 0.
quint64 increase(quint64 now, quint64 before)
{
    return now >= before ? now - before : 0;
}

} // namespace

SystemMetrics::SystemMetrics()
    : home_(FS::home())
    , stat_(platform::procRoot().get() + QStringLiteral("/stat"))
    , memoryInfo_(platform::procRoot().get() + QStringLiteral("/meminfo"))
    , memoryPressure_(platform::procRoot().get() + QStringLiteral("/pressure/memory"))
    , networkDevices_(platform::procRoot().get() + QStringLiteral("/net/dev"))
    , uptime_(platform::procRoot().get() + QStringLiteral("/uptime"))
    , powerSupplies_(platform::sysRoot().get())
    , smallBuffer_(statPrefixBytes)
{
}

SystemSnapshot SystemMetrics::snapshot()
{
    std::lock_guard readers(readers_);
    SystemSnapshot snapshot;
    const CPUReading cpu = readCPU();
    snapshot.cpuUsage = cpu.total;
    snapshot.cpuUser = cpu.user;
    snapshot.cpuSystem = cpu.system;
    readMemory(snapshot);
    const FS::VolumeCapacity disk = FS::volumeCapacity(home_);
    snapshot.diskFree = disk.free;
    snapshot.diskTotal = disk.total;
    const NetworkRates network = readNetwork();
    snapshot.networkIn = network.in;
    snapshot.networkOut = network.out;
    readBattery(snapshot);
    snapshot.uptime = readUptime();
    return snapshot;
}

SystemMetrics::CPUReading SystemMetrics::readCPU()
{
    const std::optional<platform::ProcessorTicks> ticks =
        platform::parseProcessorTicks(stat_.read(smallBuffer_, false));
    if (!ticks) {
        return {};
    }
    std::optional<platform::ProcessorTicks> previous;
    {
        std::lock_guard guard(lock_);
        previous = std::exchange(previousCPUTicks_, ticks);
    }
    if (!previous) {
        return {};
    }
    const double user = double(increase(ticks->user, previous->user));
    const double system = double(increase(ticks->system, previous->system));
    const double idle = double(increase(ticks->idle, previous->idle));
    const double nice = double(increase(ticks->nice, previous->nice));
    const double total = user + system + idle + nice;
    if (total <= 0) {
        return {};
    }
    return {(user + system + nice) / total, (user + nice) / total, system / total};
}

void SystemMetrics::readMemory(SystemSnapshot& snapshot)
{
    const platform::MemoryInfo info = platform::parseMemoryInfo(memoryInfo_.read(buffer_));
    snapshot.memoryTotal = toBytes(info.total.value_or(0));
    if (info.total && info.available) {
        snapshot.memoryUsed = toBytes(increase(*info.total, *info.available));
    }
    if (info.swapTotal && info.swapFree) {
        snapshot.swapUsed = toBytes(increase(*info.swapTotal, *info.swapFree));
    }
    snapshot.memoryPressure =
        snapshot.memoryTotal > 0 ? double(snapshot.memoryUsed) / double(snapshot.memoryTotal) : 0.0;
    snapshot.memoryStall = platform::parseMemoryStall(memoryPressure_.read(smallBuffer_, false));
}

SystemMetrics::NetworkRates SystemMetrics::readNetwork()
{
    const std::optional<platform::LinkBytes> bytes =
        platform::parseLinkBytes(networkDevices_.read(buffer_), countsTowardsTraffic);
    if (!bytes) {
        return {};
    }
    const NetworkTotals totals{bytes->received, bytes->sent, platform::steadyClock().get()};
    std::optional<NetworkTotals> previous;
    {
        std::lock_guard guard(lock_);
        previous = std::exchange(previousNetwork_, totals);
    }
    if (!previous) {
        return {};
    }
    const auto interval = totals.at - previous->at;
    if (interval <= shortestInterval) {
        return {};
    }
    const double seconds = std::chrono::duration<double>(interval).count();
    const auto rate = [seconds](quint64 now, quint64 before) {
        const double perSecond = double(increase(now, before)) / seconds;
        return perSecond >= double(std::numeric_limits<qint64>::max()) ? std::numeric_limits<qint64>::max()
                                                                       : qint64(perSecond);
    };
    return {rate(totals.inBytes, previous->inBytes), rate(totals.outBytes, previous->outBytes)};
}

void SystemMetrics::readBattery(SystemSnapshot& snapshot)
{
    std::optional<platform::BatteryReading> battery = powerSupplies_.read();
    if (!battery) {
        return;
    }
    snapshot.batteryLevel = battery->level;
    snapshot.batteryIsCharging = battery->isCharging;
    snapshot.batteryCycleCount = battery->cycleCount;
    snapshot.batteryHealth = std::move(battery->health);
}

double SystemMetrics::readUptime()
{
    return platform::parseUptime(uptime_.read(smallBuffer_, false)).value_or(0);
}

} // namespace harborlite
