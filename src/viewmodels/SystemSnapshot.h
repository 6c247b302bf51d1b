#pragma once

#include <QString>

#include <optional>

namespace harborlite {

// One reading of the machine's counters. Rates and processor fractions cover
// the interval since the sampler's previous reading; the zero value is what the
// model shows before the first sample.
struct SystemSnapshot {
    double cpuUsage = 0;
    double cpuUser = 0;
    double cpuSystem = 0;
    qint64 memoryUsed = 0;
    qint64 memoryTotal = 0;
    double memoryPressure = 0;
    qint64 swapUsed = 0;
    // Bytes available to the user and total bytes of the home folder's volume.
    qint64 diskFree = 0;
    qint64 diskTotal = 0;
    // Bytes per second received and sent since the previous sample.
    qint64 networkIn = 0;
    qint64 networkOut = 0;
    std::optional<double> batteryLevel;
    bool batteryIsCharging = false;
    std::optional<int> batteryCycleCount;
    std::optional<QString> batteryHealth;
    double uptime = 0;

    bool operator==(const SystemSnapshot&) const = default;
};

} // namespace harborlite
