#pragma once

#include "platform/KernelFile.h"

#include <QString>

#include <optional>
#include <vector>

namespace harborlite::platform {

// What one battery reports.
struct BatteryReading {
    // Charge as a fraction of the full charge; not clamped.
    double level = 0;
    bool isCharging = false;
    std::optional<int> cycleCount;
    // The driver's health text ("Good", "Overheat"...), where it gives one.
    std::optional<QString> health;

    bool operator==(const BatteryReading&) const = default;
};

// The system batteries under <sys root>/class/power_supply, found once when the
// reader is made (entries whose "type" is "Battery", leaving out the batteries
// of attached devices such as a mouse, whose "scope" is "Device"). Their
// attribute files stay open between readings.
class PowerSupplies {
public:
    explicit PowerSupplies(const QString& sysRoot);

    // The first battery, in name order, whose charge and full charge can be
    // read with the full charge above 0 (energy, else charge, else the
    // capacity percentage); none without such a battery.
    std::optional<BatteryReading> read();

private:
    struct Battery {
        KernelFile energyNow;
        KernelFile energyFull;
        KernelFile chargeNow;
        KernelFile chargeFull;
        KernelFile capacity;
        KernelFile status;
        KernelFile cycleCount;
        KernelFile health;
    };

    std::optional<quint64> number(KernelFile& file);
    std::optional<double> level(Battery& battery);

    std::vector<Battery> batteries_;
    std::vector<char> buffer_;
};

} // namespace harborlite::platform
