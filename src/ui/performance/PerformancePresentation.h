#pragma once

#include "engine/models/StartupItem.h"
#include "shared/SystemSnapshot.h"
#include "ui/components/StatTileLook.h"

#include <QList>
#include <QString>

#include <vector>

// What the Performance screen shows, worked out from the model's values.
namespace harborlite::PerformancePresentation {

inline constexpr int kHistoryLimit = 60;
inline constexpr int kShownProcesses = 15;
inline constexpr int kRefreshMilliseconds = 4000;
// Incoming traffic that fills the network tile's bar, in bytes per second.
inline constexpr double kNetworkFullScale = 10'000'000;

QString title();
QString subtitle();
QString headerSymbol();

// CPU, Memory and Network, then Battery when the snapshot has a level.
QList<StatTileLook> tiles(const SystemSnapshot& snapshot);
// Cycles, health and "Charging", those known, joined by " · "; "On battery"
// when none is.
QString batteryCaption(const SystemSnapshot& snapshot);

QString chartTitle();
QString uptimeText(double seconds);
// The history with the value appended, the oldest dropped beyond the limit.
std::vector<double> appended(std::vector<double> history, double value);

QString startupTitle();
// "N enabled of M".
QString startupCount(const QList<StartupItem>& items);
QString noStartupItems();
QString processTitle();
QString refresh();
QString processColumn();
QString cpuColumn();
QString memoryColumn();

} // namespace harborlite::PerformancePresentation
