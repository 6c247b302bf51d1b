#include "ui/ScreenFixtures.h"
#include "ui/screens/ReclaimView.h"

#include <gtest/gtest.h>

using namespace harborlite;
using namespace harborlite::test;

TEST(ReclaimViewPresentation, TitlePrecedenceListAndBar)
{
    struct Case {
        const char* name;
        ReviewState state;
        ScanButtonLook scan;
        bool showsList;
        std::optional<SummaryLook> summary;
        std::optional<ActionBarLook> bar;
    };
    const ScanButtonLook scan{"Scan", PaletteRole::accent, false};
    const ScanButtonLook again{"Scan Again", PaletteRole::accent, false};
    const ScanButtonLook stop{"Stop", PaletteRole::danger, true};
    const CategoryResult duplicates =
        result(ScanCategory::duplicates, {group("Photo.jpg", {item("a", 2000), item("b", 2000, true)})});
    const std::vector<Case> cases = {
        {"before the first scan: the placeholder", reviewState({}), scan, false, std::nullopt, std::nullopt},
        {"first scan running: the list, no summary, no bar", reviewState({}, {ScanCategory::duplicates}), stop,
         true, std::nullopt, std::nullopt},
        {"one of two scanned is enough", reviewState({result(ScanCategory::deviceBackups)}), again, true,
         SummaryLook{"0 KB", "0 KB", "Free after removal", "0 KB"},
         ActionBarLook{"0 KB selected", "Move to Trash", "Remove", false, false, PaletteRole::accent}},
        {"a selection enables Remove", reviewState({duplicates}), again, true,
         SummaryLook{"4 KB", "2 KB", "Free after removal", "2 KB"},
         ActionBarLook{"2 KB selected", "Move to Trash", "Remove", true, false, PaletteRole::accent}},
        {"Stop wins over Scan Again", reviewState({duplicates}, {ScanCategory::deviceBackups}), stop, true,
         SummaryLook{"4 KB", "2 KB", "Free after removal", "2 KB"},
         ActionBarLook{"2 KB selected", "Move to Trash", "Remove", true, false, PaletteRole::accent}},
        {"the Cleanup categories do not count", reviewState({result(ScanCategory::trash)}, {ScanCategory::trash}),
         scan, false, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const CategoryListPresentation shown = presentCategoryList(ReclaimView::setup(), c.state);
        EXPECT_EQ(shown.scan, c.scan) << c.name;
        EXPECT_EQ(shown.showsList, c.showsList) << c.name;
        EXPECT_EQ(shown.summary, c.summary) << c.name;
        EXPECT_EQ(shown.actionBar, c.bar) << c.name;
    }
}

TEST(ReclaimViewPresentation, TheBarNamesTheSharedMode)
{
    for (const auto& [mode, title] : {std::pair{Remover::Mode::trash, "Move to Trash"},
                                      std::pair{Remover::Mode::permanent, "Delete permanently"},
                                      std::pair{Remover::Mode::shred, "Shred securely"}}) {
        ReviewState state = reviewState({result(ScanCategory::duplicates)});
        state.mode = mode;
        EXPECT_EQ(presentCategoryList(ReclaimView::setup(), state).actionBar->detail, title);
    }
}
