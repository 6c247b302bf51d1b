#pragma once

#include <QString>

#include <optional>

namespace harborlite {

// One reading of the machine's counters. Rates and processor fractions cover
// the interval since the sampler's previous reading.
struct SystemSnapshot {
    // Fractions 0...1 of processor time since the previous sample: user,
    // system and nice together; user and nice; system.
    double cpuUsage = 0;
    double cpuUser = 0;
    double cpuSystem = 0;
    // Bytes of memory in use (all but what the kernel reports available) and in total.
    qint64 memoryUsed = 0;
    qint64 memoryTotal = 0;
    // memoryUsed / memoryTotal, 0 when the total is 0.
    double memoryPressure = 0;
    qint64 swapUsed = 0;
    // Bytes available to the user and total bytes of the home folder's volume.
    qint64 diskFree = 0;
    qint64 diskTotal = 0;
    // Bytes per second received and sent since the previous sample.
    qint64 networkIn = 0;
    qint64 networkOut = 0;
    // Battery charge as a fraction of full charge; the battery fields are
    // absent (and charging false) without a battery.
    std::optional<double> batteryLevel;
    bool batteryIsCharging = false;
    std::optional<int> batteryCycleCount;
    std::optional<QString> batteryHealth;
    // Seconds since the system started.
    double uptime = 0;
    // Share (0...1) of the last ten seconds in which some task waited for
    // memory; absent where the kernel does not report memory stalls.
    std::optional<double> memoryStall;

    bool operator==(const SystemSnapshot&) const = default;
};

} // namespace harborlite
