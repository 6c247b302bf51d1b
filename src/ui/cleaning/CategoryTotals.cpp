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
        const ResultSums sums = resultSums(*result);
        totals.found += sums.found;
        totals.selected += sums.selected;
        totals.selectsTrashedItems = totals.selectsTrashedItems || sums.selectsTrashedItems;
    }
    return totals;
}

ResultSums resultSums(const CategoryResult& result)
{
    // One pass over the items: a result can hold tens of thousands, and its
    // sums follow every click.
    ResultSums sums;
    bool selectsAny = false;
    for (const ScanGroup& group : result.groups) {
        for (const ScanItem& item : group.items) {
            sums.found += item.size;
            if (item.isSelected) {
                sums.selected += item.size;
                selectsAny = true;
            }
        }
    }
    sums.selectsTrashedItems = result.category == ScanCategory::trash && selectsAny;
    return sums;
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
