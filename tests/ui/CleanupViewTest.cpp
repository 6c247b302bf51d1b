#include "ui/ScreenFixtures.h"
#include "ui/screens/CleanupView.h"

#include <gtest/gtest.h>

using namespace harborlite;
using namespace harborlite::test;

namespace {

ReviewState withMode(ReviewState state, Remover::Mode mode, qint64 diskFree = 0, bool isCleaning = false)
{
    state.mode = mode;
    state.diskFree = diskFree;
    state.isCleaning = isCleaning;
    return state;
}

} // namespace

TEST(CleanupViewPresentation, FollowsTheSixCategories)
{
    struct Case {
        const char* name;
        ReviewState state;
        ScanButtonLook scan;
        std::optional<SummaryLook> summary;
        std::optional<ActionBarLook> bar;
    };
    const ScanButtonLook scanAll{"Scan All", PaletteRole::accent, false};
    const ScanButtonLook stop{"Stop", PaletteRole::danger, true};
    const std::vector<Case> cases = {
        {"before any scan", reviewState({}), scanAll, std::nullopt, std::nullopt},
        {"one category found nothing", reviewState({result(ScanCategory::trash)}), scanAll,
         SummaryLook{"0 KB", "0 KB", "Free after clean", "0 KB"},
         ActionBarLook{"0 KB selected", "Move to Trash", "Clean", false, false, PaletteRole::accent}},
        {"selection over two categories, free space added",
         withMode(reviewState({result(ScanCategory::systemJunk,
                                      {group("Caches", {item("a", 1500, true), item("b", 2000)})}),
                               result(ScanCategory::leftovers, {group("Support", {item("c", 500, true)})})}),
                  Remover::Mode::permanent, 10000),
         scanAll, SummaryLook{"4 KB", "2 KB", "Free after clean", "12 KB"},
         ActionBarLook{"2 KB selected", "Delete permanently", "Clean", true, false, PaletteRole::accent}},
        {"no sample yet: the free tile is the selection alone",
         reviewState({result(ScanCategory::installers, {group("Disk images", {item("a", 3000000, true)})})}),
         scanAll, SummaryLook{"3 MB", "3 MB", "Free after clean", "3 MB"},
         ActionBarLook{"3 MB selected", "Move to Trash", "Clean", true, false, PaletteRole::accent}},
        {"a selected empty file leaves Clean disabled",
         withMode(reviewState({result(ScanCategory::trash, {group("Trash", {item("a", 0, true)})})}),
                  Remover::Mode::shred),
         scanAll, SummaryLook{"0 KB", "0 KB", "Free after clean", "0 KB"},
         ActionBarLook{"0 KB selected", "Shred securely", "Clean", false, false, PaletteRole::accent}},
        {"results of other screens do not count",
         reviewState({result(ScanCategory::largeAndOld, {group("Big", {item("a", 9000, true)})})}), scanAll,
         std::nullopt, std::nullopt},
        {"any of the six scanning shows Stop", reviewState({}, {ScanCategory::leftovers}), stop, std::nullopt,
         std::nullopt},
        {"another screen's scan does not", reviewState({}, {ScanCategory::privacy}), scanAll, std::nullopt,
         std::nullopt},
        {"the bar is busy while a removal runs",
         withMode(reviewState({result(ScanCategory::trash, {group("Trash", {item("a", 4000, true)})})}),
                  Remover::Mode::trash, 0, true),
         scanAll, SummaryLook{"4 KB", "4 KB", "Free after clean", "4 KB"},
         ActionBarLook{"4 KB selected", "Move to Trash", "Clean", true, true, PaletteRole::accent}},
    };
    for (const Case& c : cases) {
        const CategoryListPresentation shown = presentCategoryList(CleanupView::setup(), c.state);
        EXPECT_EQ(shown.scan, c.scan) << c.name;
        EXPECT_TRUE(shown.showsList) << c.name;
        EXPECT_EQ(shown.summary, c.summary) << c.name;
        EXPECT_EQ(shown.actionBar, c.bar) << c.name;
    }
}
