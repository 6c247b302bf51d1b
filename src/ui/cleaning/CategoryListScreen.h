#pragma once

#include "ui/cleaning/CategoryTotals.h"
#include "ui/cleaning/ReviewLooks.h"
#include "ui/cleaning/ReviewScreen.h"
#include "ui/components/ActionBarLook.h"
#include "ui/components/SummaryRow.h"

#include <QList>

#include <optional>

namespace harborlite {

struct ReviewState;

// A screen that scans, lists and removes several categories together, with
// the removal-mode picker, the summary row and an action bar over the sum of
// their selections.
struct CategoryListSetup {
    QList<ScanCategory> categories;
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
    // The title of the summary's free-space tile.
    QString freeTitle;
    QString buttonTitle;
};

struct CategoryListPresentation {
    CategoryTotals totals;
    ScanButtonLook scan;
    bool showsList = true;
    std::optional<SummaryRow::Values> summary;
    std::optional<ActionBarLook> actionBar;

    bool operator==(const CategoryListPresentation&) const = default;
};

CategoryListPresentation presentCategoryList(const CategoryListSetup& setup, const ReviewState& state);

class EmptyStateView;
class ScanButton;
class SummaryRow;
struct ScreenServices;

// The widgets of such a screen: header row with the mode picker and the scan
// button, the optional notice, the summary row, the categories' list (or the
// placeholder) and the action bar.
class CategoryListScreen : public ReviewScreen {
    Q_OBJECT

public:
    CategoryListScreen(CategoryListSetup setup, ScanSession& scans, MonitorFeed& feed, const ScreenServices& services,
                       QWidget* parent);

    CategoryListPresentation presentation() const;

    ScanButton* scanButton() const { return scanButton_; }
    SummaryRow* summaryRow() const { return summary_; }
    QWidget* list() const { return list_; }
    // None on a screen that always shows its list.
    EmptyStateView* emptyState() const { return empty_; }

protected:
    void refresh() override;

private:
    void scanAll();
    void clean();

    CategoryListSetup setup_;
    ScanButton* scanButton_;
    SummaryRow* summary_;
    QWidget* list_;
    EmptyStateView* empty_ = nullptr;
};

} // namespace harborlite
