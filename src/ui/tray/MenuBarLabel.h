#pragma once

#include "shared/MonitorKind.h"
#include "shared/MonitorReading.h"

#include <QString>

#include <vector>

namespace harborlite {

// What the tray item says of the machine. A tray shows an icon only, so the
// label's text, the compact readings of the chosen monitors, is the icon's
// tool tip.
namespace MenuBarLabel {

inline constexpr size_t kMaximumKinds = 4;

// The chosen kinds without processes, in order, then cut to the first four.
std::vector<MonitorKind> kinds(const std::vector<MonitorKind>& chosen);

// The compact readings of `kinds` joined by " · "; empty for no kinds.
QString summary(const std::vector<MonitorKind>& kinds, const MonitorInputs& inputs);

} // namespace MenuBarLabel

} // namespace harborlite
