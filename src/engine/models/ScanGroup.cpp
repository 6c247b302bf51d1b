#include "engine/models/ScanGroup.h"

namespace harborlite {

qint64 ScanGroup::selectedSize() const
{
    qint64 total = 0;
    for (const ScanItem& item : items) {
        if (item.isSelected) {
            total += item.size;
        }
    }
    return total;
}

int ScanGroup::selectedCount() const
{
    int count = 0;
    for (const ScanItem& item : items) {
        count += item.isSelected ? 1 : 0;
    }
    return count;
}

ScanGroup::SelectionState ScanGroup::selectionState() const
{
    if (items.isEmpty()) {
        return SelectionState::none;
    }
    const int selected = selectedCount();
    if (selected == items.size()) {
        return SelectionState::all;
    }
    return selected > 0 ? SelectionState::partial : SelectionState::none;
}

} // namespace harborlite
