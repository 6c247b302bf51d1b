#pragma once

#include "ui/screens/CategoryTotals.h"
#include "ui/screens/ReviewLooks.h"

#include <optional>
#include <vector>

namespace harborlite {

struct ReviewState;

// A screen that scans, lists and removes several categories together, with
// the removal-mode picker, the summary row and an action bar over the sum of
// their selections.
struct CategoryListSetup {
    std::vector<ScanCategory> categories;
    QString title;
    QString subtitle;
    QString symbol;
    QString scanTitle;
    // The scan button's title once any of the categories has a result.
    std::optional<QString> rescanTitle;
    std::optional<NoticeText> notice;
    // Shown instead of the list until a category has a result or is scanning;
    // without it the list is always shown.
    std::optional<EmptyStateText> emptyState;
    // The third summary tile's title.
    QString freeTitle;
    QString buttonTitle;
};

struct CategoryListPresentation {
    ScanButtonLook scan;
    bool showsList = true;
    std::optional<SummaryLook> summary;
    std::optional<ActionBarLook> actionBar;

    bool operator==(const CategoryListPresentation&) const = default;
};

CategoryListPresentation presentCategoryList(const CategoryListSetup& setup, const ReviewState& state);

} // namespace harborlite
