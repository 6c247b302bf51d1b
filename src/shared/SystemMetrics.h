#pragma once

#include "platform/KernelCounters.h"
#include "platform/KernelFile.h"
#include "platform/PowerSupplies.h"
#include "shared/SystemSnapshot.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <mutex>
#include <optional>
#include <vector>

namespace harborlite {

// Takes SystemSnapshots of the machine from the kernel's counter files under
// the proc and sys roots (platform::procRoot, platform::sysRoot), read when the
// sampler is made, and of the home folder's volume. Processor load and network
// throughput are rates against the previous snapshot, so the sampler keeps the
// previous raw counters; the first snapshot's rates are 0.
//
// A sample starts no process and allocates next to nothing: the counter files
// stay open and are read again from their start into buffers kept here.
// snapshot() may be called from any thread; overlapping calls take turns.
class SystemMetrics {
public:
    SystemMetrics();

    // Never fails: a reading that cannot be taken is 0, or absent for the
    // battery fields and memoryStall.
    SystemSnapshot snapshot();

private:
    struct CPUReading {
        double total = 0;
        double user = 0;
        double system = 0;
    };
    struct NetworkTotals {
        quint64 inBytes = 0;
        quint64 outBytes = 0;
        std::chrono::steady_clock::time_point at;
    };
    struct NetworkRates {
        qint64 in = 0;
        qint64 out = 0;
    };

    CPUReading readCPU();
    void readMemory(SystemSnapshot& snapshot);
    NetworkRates readNetwork();
    void readBattery(SystemSnapshot& snapshot);
    double readUptime();

    // Guards the previous counters only, never held while files are read.
    std::mutex lock_;
    std::optional<platform::ProcessorTicks> previousCPUTicks_;
    std::optional<NetworkTotals> previousNetwork_;

    // Guards the files and buffers while one snapshot reads them.
    std::mutex readers_;
    QString home_;
    platform::KernelFile stat_;
    platform::KernelFile memoryInfo_;
    platform::KernelFile memoryPressure_;
    platform::KernelFile networkDevices_;
    platform::KernelFile uptime_;
    platform::PowerSupplies powerSupplies_;
    std::vector<char> smallBuffer_;
    std::vector<char> buffer_;
};

} // namespace harborlite
