#include "ui/screens/CategoryListScreen.h"

#include "shared/Formatting.h"
#include "ui/screens/ReviewState.h"

namespace harborlite {

CategoryListPresentation presentCategoryList(const CategoryListSetup& setup, const ReviewState& state)
{
    const CategoryTotals totals = categoryTotals(state, setup.categories);
    CategoryListPresentation shown;
    const QString title = totals.hasAnyResult && setup.rescanTitle ? *setup.rescanTitle : setup.scanTitle;
    shown.scan = scanButtonLook(totals.isBusy, title);
    shown.showsList = !setup.emptyState || totals.hasAnyResult || totals.isBusy;
    if (totals.hasAnyResult) {
        shown.summary = SummaryLook{Format::byteText(totals.found), Format::byteText(totals.selected),
                                    setup.freeTitle, Format::byteText(state.diskFree + totals.selected)};
        shown.actionBar = ActionBarLook{selectedBytesTitle(totals.selected),
                                        removalModeTitle(state.mode),
                                        setup.buttonTitle,
                                        totals.selected > 0,
                                        state.isCleaning,
                                        PaletteRole::accent};
    }
    return shown;
}

} // namespace harborlite
