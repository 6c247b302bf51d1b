#include "engine/models/CategoryResult.h"

namespace harborlite {

qint64 CategoryResult::totalSize() const
{
    qint64 total = 0;
    for (const ScanGroup& group : groups) {
        for (const ScanItem& item : group.items) {
            total += item.size;
        }
    }
    return total;
}

int CategoryResult::itemCount() const
{
    int count = 0;
    for (const ScanGroup& group : groups) {
        count += int(group.items.size());
    }
    return count;
}

int CategoryResult::selectedCount() const
{
    int count = 0;
    for (const ScanGroup& group : groups) {
        count += group.selectedCount();
    }
    return count;
}

} // namespace harborlite
