#pragma once

#include "widgets/extension/MonitorEntryView.h"

namespace harborlite {

// The system-monitor widget's view: rings, bars and figures of the entry's
// sample in the family's layout (SystemMonitorPresentation).
class SystemMonitorEntryView final : public MonitorEntryView {
public:
    using MonitorEntryView::MonitorEntryView;

protected:
    void build(QVBoxLayout* column, const MonitorEntry& entry) override;
};

} // namespace harborlite
