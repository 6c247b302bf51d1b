#include "ui/cleaning/CategoryTotals.h"

#include "ui/cleaning/ReviewState.h"

namespace harborlite {

CategoryTotals categoryTotals(const ReviewState& state, std::span<const ScanCategory> categories)
{
    CategoryTotals totals;
    for (const ScanCategory category : categories) {
        totals.isBusy = totals.isBusy || state.isRunning(category);
        const CategoryResult* result = state.result(category);
        if (!result) {
            continue;
        }
        totals.hasAnyResult = true;
        totals.found += result->totalSize();
        for (const ScanGroup& group : result->groups) {
            totals.selected += group.selectedSize();
        }
    }
    return totals;
}

} // namespace harborlite
