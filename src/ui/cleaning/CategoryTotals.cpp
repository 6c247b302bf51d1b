#include "ui/cleaning/CategoryTotals.h"

#include "ui/cleaning/ReviewState.h"

#include <QCoreApplication>

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
        totals.selectsTrashedItems = totals.selectsTrashedItems || selectsTrashedItems(*result);
        totals.found += result->totalSize();
        for (const ScanGroup& group : result->groups) {
            totals.selected += group.selectedSize();
        }
    }
    return totals;
}

bool selectsTrashedItems(const CategoryResult& result)
{
    return result.category == ScanCategory::trash && result.selectedCount() > 0;
}

QString removalDetail(const QString& detail, const QString& separator, RemovalMode mode, bool selectsTrashedItems)
{
    if (mode != RemovalMode::trash || !selectsTrashedItems) {
        return detail;
    }
    return detail + separator
           + QCoreApplication::translate("CategoryTotals", "Items already in the Trash are deleted for good.");
}

} // namespace harborlite
