#include "platform/PowerSupplies.h"

#include "platform/KernelCounters.h"

#include <QDir>

#include <limits>

namespace harborlite::platform {

namespace {

constexpr std::size_t attributeBytes = 256;

std::string_view firstLine(std::string_view text)
{
    std::string_view line = kerneltext::nextLine(text);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return line;
}

} // namespace

PowerSupplies::PowerSupplies(const QString& sysRoot)
    : buffer_(attributeBytes)
{
    const QDir folder(sysRoot + QStringLiteral("/class/power_supply"));
    const QStringList names = folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QString& name : names) {
        const QString base = folder.filePath(name) + QLatin1Char('/');
        if (firstLine(readKernelFile(base + QStringLiteral("type")).toStdString()) != "Battery"
            || firstLine(readKernelFile(base + QStringLiteral("scope")).toStdString()) == "Device") {
            continue;
        }
        const auto file = [&base](const char* attribute) { return KernelFile(base + QLatin1String(attribute)); };
        batteries_.push_back({file("energy_now"), file("energy_full"), file("charge_now"), file("charge_full"),
                              file("capacity"), file("status"), file("cycle_count"), file("health")});
    }
}

std::optional<quint64> PowerSupplies::number(KernelFile& file)
{
    return kerneltext::toUnsigned(firstLine(file.read(buffer_, false)));
}

std::optional<double> PowerSupplies::level(Battery& battery)
{
    const auto fraction = [](std::optional<quint64> now, std::optional<quint64> full) -> std::optional<double> {
        if (!now || !full || *full == 0) {
            return std::nullopt;
        }
        return double(*now) / double(*full);
    };
    if (auto energy = fraction(number(battery.energyNow), number(battery.energyFull))) {
        return energy;
    }
    if (auto charge = fraction(number(battery.chargeNow), number(battery.chargeFull))) {
        return charge;
    }
    return fraction(number(battery.capacity), 100);
}

std::optional<BatteryReading> PowerSupplies::read()
{
    for (Battery& battery : batteries_) {
        const std::optional<double> charge = level(battery);
        if (!charge) {
            continue;
        }
        BatteryReading reading;
        reading.level = *charge;
        reading.isCharging = firstLine(battery.status.read(buffer_, false)) == "Charging";
        if (const std::optional<quint64> cycles = number(battery.cycleCount);
            cycles && *cycles <= quint64(std::numeric_limits<int>::max())) {
            reading.cycleCount = int(*cycles);
        }
        if (const std::string_view health = firstLine(battery.health.read(buffer_, false)); !health.empty()) {
            reading.health = QString::fromUtf8(health.data(), qsizetype(health.size()));
        }
        return reading;
    }
    return std::nullopt;
}

} // namespace harborlite::platform
