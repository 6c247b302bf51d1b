#include "shared/MonitorReading.h"

#include "shared/Formatting.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

const QString kDash = QStringLiteral(u"\u2014");
const QString kDot = QStringLiteral(u" \u00B7 ");

// A fraction that is not a number would fill a ring completely while its
// percent text reads "0%"; it counts as nothing instead.
double definite(double value)
{
    return std::isnan(value) ? 0 : value;
}

QString text(const char* source)
{
    return QCoreApplication::translate("MonitorReading", source);
}

double share(qint64 part, qint64 total)
{
    return total > 0 ? static_cast<double>(part) / static_cast<double>(total) : 0;
}

MonitorReading cpuReading(const MonitorInputs& inputs)
{
    const SystemSnapshot& s = inputs.snapshot;
    const QString usage = Format::percent(s.cpuUsage);
    return {usage,
            usage,
            text("User %1 \u00B7 System %2").arg(Format::percent(s.cpuUser), Format::percent(s.cpuSystem)),
            definite(s.cpuUsage),
            inputs.cpuSeries,
            std::nullopt,
            tint(MonitorKind::cpu),
            true};
}

MonitorReading memoryReading(const MonitorInputs& inputs)
{
    const SystemSnapshot& s = inputs.snapshot;
    return {MonitorTexts::byteText(s.memoryUsed),
            Format::compactBytes(s.memoryUsed),
            text("of %1 \u00B7 swap %2").arg(MonitorTexts::byteText(s.memoryTotal), MonitorTexts::byteText(s.swapUsed)),
            share(s.memoryUsed, s.memoryTotal),
            inputs.memorySeries,
            std::nullopt,
            tint(MonitorKind::memory),
            true};
}

MonitorReading storageReading(const MonitorInputs& inputs)
{
    const SystemSnapshot& s = inputs.snapshot;
    return {MonitorTexts::byteText(s.diskFree),
            Format::compactBytes(s.diskFree),
            text("free of %1").arg(MonitorTexts::byteText(s.diskTotal)),
            share(std::max<qint64>(0, s.diskTotal - s.diskFree), s.diskTotal),
            inputs.storageSeries,
            std::nullopt,
            tint(MonitorKind::storage),
            true};
}

MonitorReading networkReading(const MonitorInputs& inputs)
{
    const SystemSnapshot& s = inputs.snapshot;
    const QString perSecond = QStringLiteral("/s");
    return {MonitorTexts::byteText(s.networkIn) + perSecond,
            Format::compactBytes(s.networkIn) + perSecond,
            text("Up %1").arg(MonitorTexts::byteText(s.networkOut) + perSecond),
            definite(std::min(1.0, static_cast<double>(s.networkIn) / inputs.networkScale)),
            inputs.networkInSeries,
            inputs.networkScale,
            tint(MonitorKind::network),
            true};
}

MonitorReading batteryReading(const MonitorInputs& inputs)
{
    const SystemSnapshot& s = inputs.snapshot;
    if (!s.batteryLevel) {
        return {kDash, kDash, text("No battery in this Mac"), 0, {}, std::nullopt, tint(MonitorKind::battery), false};
    }
    const double level = *s.batteryLevel;
    QStringList parts;
    if (s.batteryIsCharging) {
        parts << text("Charging");
    }
    if (s.batteryCycleCount) {
        parts << text("%1 cycles").arg(*s.batteryCycleCount);
    }
    if (s.batteryHealth) {
        parts << *s.batteryHealth;
    }
    const QString shown = Format::percent(level);
    return {shown, shown,        parts.isEmpty() ? text("On battery") : parts.join(kDot),        definite(level),
            {},    std::nullopt, level < 0.2 ? PaletteRole::danger : tint(MonitorKind::battery), true};
}

MonitorReading processesReading(const MonitorInputs& inputs)
{
    if (inputs.processCount <= 0) {
        return {kDash, kDash, text("Sampling\u2026"), 0, {}, std::nullopt, tint(MonitorKind::processes), false};
    }
    // printf would follow the desktop's locale; asprintf never does.
    const double cpu = definite(inputs.topProcessCpu);
    return {inputs.topProcessName,
            QString::asprintf("%.0f%%", cpu),
            text("%1 processes sampled").arg(inputs.processCount),
            std::min(1.0, cpu / 100),
            {},
            std::nullopt,
            tint(MonitorKind::processes),
            true};
}

MonitorReading junkReading(const MonitorInputs& inputs)
{
    const qint64 total = inputs.reclaimable;
    const qint64 disk = inputs.snapshot.diskTotal;
    const QString caption = inputs.lastSmartScan ? text("Found %1").arg(Format::relativeDate(*inputs.lastSmartScan))
                                                 : text("Run a scan to measure");
    const double fraction = disk > 0 ? std::min(1.0, static_cast<double>(total) / static_cast<double>(disk) * 8) : 0;
    if (total <= 0) {
        // Before any scan nothing was looked for, so only the caption speaks.
        const QString headline = inputs.lastSmartScan ? text("Nothing found") : kDash;
        return {headline, kDash, caption, fraction, {}, std::nullopt, tint(MonitorKind::junk), false};
    }
    return {MonitorTexts::byteText(total),
            Format::compactBytes(total),
            caption,
            fraction,
            {},
            std::nullopt,
            tint(MonitorKind::junk),
            true};
}

} // namespace

QString MonitorTexts::byteText(qint64 count)
{
    return count > 0 ? Format::bytes(count) : QStringLiteral("0 KB");
}

MonitorReading monitorReading(MonitorKind kind, const MonitorInputs& inputs)
{
    switch (kind) {
    case MonitorKind::cpu:
        return cpuReading(inputs);
    case MonitorKind::memory:
        return memoryReading(inputs);
    case MonitorKind::storage:
        return storageReading(inputs);
    case MonitorKind::network:
        return networkReading(inputs);
    case MonitorKind::battery:
        return batteryReading(inputs);
    case MonitorKind::processes:
        return processesReading(inputs);
    case MonitorKind::junk:
        return junkReading(inputs);
    }
    return {};
}

} // namespace harborlite
