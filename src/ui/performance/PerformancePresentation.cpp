#include "ui/performance/PerformancePresentation.h"

#include "shared/Formatting.h"

#include <QCoreApplication>

#include <algorithm>

namespace harborlite::PerformancePresentation {

namespace {

const QString separator = QStringLiteral(" \u00B7 ");

} // namespace

QString title()
{
    return QCoreApplication::translate("PerformanceView", "Performance");
}

QString subtitle()
{
    return QCoreApplication::translate("PerformanceView",
                                       "What is running, what starts with your Mac, and what it is costing you.");
}

QString headerSymbol()
{
    return QStringLiteral("speedometer");
}

QList<StatTileLook> tiles(const SystemSnapshot& snapshot)
{
    const double memory = snapshot.memoryTotal > 0 ? double(snapshot.memoryUsed) / double(snapshot.memoryTotal) : 0.0;
    QList<StatTileLook> result{
        {QCoreApplication::translate("PerformanceView", "CPU"), Format::percent(snapshot.cpuUsage),
         QCoreApplication::translate("PerformanceView", "User %1").arg(Format::percent(snapshot.cpuUser)) + separator
             + QCoreApplication::translate("PerformanceView", "System %1").arg(Format::percent(snapshot.cpuSystem)),
         snapshot.cpuUsage, QStringLiteral("cpu"), PaletteRole::accent},
        {QCoreApplication::translate("PerformanceView", "Memory"), Format::percent(memory),
         QCoreApplication::translate("PerformanceView", "%1 of %2")
             .arg(Format::byteText(snapshot.memoryUsed), Format::byteText(snapshot.memoryTotal)),
         memory, QStringLiteral("memorychip"), PaletteRole::accentDeep},
        {QCoreApplication::translate("PerformanceView", "Network"),
         Format::byteText(snapshot.networkIn) + QStringLiteral("/s"),
         QCoreApplication::translate("PerformanceView", "Up %1/s").arg(Format::byteText(snapshot.networkOut)),
         std::min(1.0, double(snapshot.networkIn) / kNetworkFullScale), QStringLiteral("arrow.up.arrow.down"),
         PaletteRole::info},
    };
    if (snapshot.batteryLevel) {
        const double level = *snapshot.batteryLevel;
        result.append({QCoreApplication::translate("PerformanceView", "Battery"), Format::percent(level),
                       batteryCaption(snapshot), level,
                       snapshot.batteryIsCharging ? QStringLiteral("battery.100.bolt") : QStringLiteral("battery.75"),
                       level < 0.2 ? PaletteRole::danger : PaletteRole::accentBright});
    }
    return result;
}

QString batteryCaption(const SystemSnapshot& snapshot)
{
    QStringList parts;
    if (snapshot.batteryCycleCount) {
        parts.append(QCoreApplication::translate("PerformanceView", "%1 cycles")
                         .arg(QString::number(*snapshot.batteryCycleCount)));
    }
    if (snapshot.batteryHealth) {
        parts.append(*snapshot.batteryHealth);
    }
    if (snapshot.batteryIsCharging) {
        parts.append(QCoreApplication::translate("PerformanceView", "Charging"));
    }
    return parts.isEmpty() ? QCoreApplication::translate("PerformanceView", "On battery") : parts.join(separator);
}

QString chartTitle()
{
    return QCoreApplication::translate("PerformanceView", "CPU load, last two minutes");
}

QString uptimeText(double seconds)
{
    return QCoreApplication::translate("PerformanceView", "Uptime %1").arg(Format::duration(seconds));
}

std::vector<double> appended(std::vector<double> history, double value)
{
    history.push_back(value);
    if (history.size() > std::size_t(kHistoryLimit)) {
        history.erase(history.begin(), history.end() - kHistoryLimit);
    }
    return history;
}

QString startupTitle()
{
    return QCoreApplication::translate("PerformanceView", "Login & Launch Items");
}

QString startupCount(const QList<StartupItem>& items)
{
    const auto enabled =
        std::count_if(items.begin(), items.end(), [](const StartupItem& item) { return item.isEnabled; });
    return QCoreApplication::translate("PerformanceView", "%1 enabled of %2")
        .arg(qlonglong(enabled))
        .arg(qlonglong(items.size()));
}

QString noStartupItems()
{
    return QCoreApplication::translate("PerformanceView", "No third-party launch agents or daemons are installed.");
}

QString processTitle()
{
    return QCoreApplication::translate("PerformanceView", "Top Processes");
}

QString refresh()
{
    return QCoreApplication::translate("PerformanceView", "Refresh");
}

QString processColumn()
{
    return QCoreApplication::translate("PerformanceView", "Process");
}

QString cpuColumn()
{
    return QCoreApplication::translate("PerformanceView", "CPU");
}

QString memoryColumn()
{
    return QCoreApplication::translate("PerformanceView", "Memory");
}

} // namespace harborlite::PerformancePresentation
