#pragma once

#include "shared/PaletteRole.h"

#include <QString>

#include <array>
#include <optional>

namespace harborlite {

// The live monitors the top bar, the dashboard and the menu-bar label can show.
enum class MonitorKind {
    cpu,
    memory,
    storage,
    network,
    battery,
    processes,
    junk,
};

namespace MonitorKinds {

inline constexpr std::array<MonitorKind, 7> allCases = {
    MonitorKind::cpu,     MonitorKind::memory,    MonitorKind::storage, MonitorKind::network,
    MonitorKind::battery, MonitorKind::processes, MonitorKind::junk,
};

inline constexpr std::array<MonitorKind, 4> defaultTopBar = {
    MonitorKind::cpu,
    MonitorKind::memory,
    MonitorKind::storage,
    MonitorKind::network,
};

inline constexpr std::array<MonitorKind, 6> defaultDashboard = {
    MonitorKind::cpu,     MonitorKind::memory,  MonitorKind::storage,
    MonitorKind::network, MonitorKind::battery, MonitorKind::processes,
};

inline constexpr std::array<MonitorKind, 3> defaultMenuBar = {
    MonitorKind::cpu,
    MonitorKind::memory,
    MonitorKind::network,
};

} // namespace MonitorKinds

// The case name; it is also the stored form and the identifier.
QString rawValue(MonitorKind kind);
// The kind whose case name equals `raw` exactly; none for anything else.
std::optional<MonitorKind> monitorKindFromRawValue(const QString& raw);

// The colour every display of the monitor is tinted with.
PaletteRole tint(MonitorKind kind);

// The name a display gives the monitor ("CPU", "Top Processes").
QString title(MonitorKind kind);
// The system symbol name drawn for the monitor.
QString symbol(MonitorKind kind);

} // namespace harborlite
