#include "ui/screens/SingleCategoryScreen.h"

#include "ui/screens/ReviewState.h"

namespace harborlite {

SingleCategoryPresentation presentSingleCategory(const SingleCategorySetup& setup, const ReviewState& state)
{
    const CategoryResult* result = state.result(setup.category);
    const bool running = state.isRunning(setup.category);
    SingleCategoryPresentation shown;
    shown.scan = scanButtonLook(running, QStringLiteral("Scan"));
    shown.showsSection = result || running;
    if (result && result->itemCount() > 0) {
        qint64 selectedBytes = 0;
        for (const ScanGroup& group : result->groups) {
            selectedBytes += group.selectedSize();
        }
        const int selectedCount = result->selectedCount();
        shown.actionBar = ActionBarLook{setup.tally == SingleCategorySetup::Tally::bytes
                                            ? selectedBytesTitle(selectedBytes)
                                            : selectedItemsTitle(selectedCount),
                                        setup.barDetail,
                                        QStringLiteral("Remove"),
                                        selectedCount > 0,
                                        state.isCleaning,
                                        setup.barTint};
    }
    return shown;
}

} // namespace harborlite
