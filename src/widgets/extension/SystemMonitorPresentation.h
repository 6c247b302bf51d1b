#pragma once

#include "shared/SystemSnapshot.h"
#include "widgets/extension/WidgetFigures.h"
#include "widgets/kit/WidgetFamily.h"

#include <vector>

namespace harborlite {

enum class SystemMonitorLayout {
    small,
    medium,
    large,
};

// Small for the small family, large for the large one, medium for every other.
SystemMonitorLayout layoutFor(WidgetFamily family);

// Everything the system-monitor widget shows of one sample, in drawing order.
struct SystemMonitorPresentation {
    SystemMonitorLayout layout = SystemMonitorLayout::medium;
    std::vector<RingFigure> rings;
    // The small layout's "Free" bar; the large layout's three bars.
    std::vector<BarFigure> bars;
    // The medium layout's column of figures; the large layout's bottom row.
    std::vector<LabelledValue> figures;

    static SystemMonitorPresentation of(WidgetFamily family, const SystemSnapshot& snapshot);
};

} // namespace harborlite
