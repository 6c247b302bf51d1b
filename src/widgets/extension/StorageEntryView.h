#pragma once

#include "widgets/extension/MonitorEntryView.h"

namespace harborlite {

// The storage widget's view: the free amount in large figures, the total and a
// bar of the used share at the bottom (StoragePresentation).
class StorageEntryView final : public MonitorEntryView {
public:
    using MonitorEntryView::MonitorEntryView;

protected:
    void build(QVBoxLayout* column, const MonitorEntry& entry) override;
};

} // namespace harborlite
