#include "ui/cleaning/CleanupView.h"
#include "ui/ScreenFixtures.h"
#include "ui/cleaning/RemovalModePicker.h"
#include "ui/components/SummaryRow.h"

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
        std::optional<SummaryRow::Values> summary;
        std::optional<ActionBarLook> bar;
    };
    const ScanButtonLook scanAll{"Scan All", PaletteRole::accent, false};
    const ScanButtonLook stop{"Stop", PaletteRole::danger, true};
    const std::vector<Case> cases = {
        {"before any scan", reviewState({}), scanAll, std::nullopt, std::nullopt},
        {"one category found nothing", reviewState({result(ScanCategory::trash)}), scanAll,
         SummaryRow::Values{"0 KB", "0 KB", "0 KB"},
         ActionBarLook{"0 KB selected", "Move to Trash", "Clean", false, false, PaletteRole::accent}},
        {"selection over two categories, free space added",
         withMode(
             reviewState({result(ScanCategory::systemJunk, {group("Caches", {item("a", 1500, true), item("b", 2000)})}),
                          result(ScanCategory::leftovers, {group("Support", {item("c", 500, true)})})}),
             Remover::Mode::permanent, 10000),
         scanAll, SummaryRow::Values{"4 KB", "2 KB", "12 KB"},
         ActionBarLook{"2 KB selected", "Delete permanently", "Clean", true, false, PaletteRole::accent}},
        {"no sample yet: the free tile is the selection alone",
         reviewState({result(ScanCategory::installers, {group("Disk images", {item("a", 3000000, true)})})}), scanAll,
         SummaryRow::Values{"3 MB", "3 MB", "3 MB"},
         ActionBarLook{"3 MB selected", "Move to Trash", "Clean", true, false, PaletteRole::accent}},
        {"a selected empty file leaves Clean disabled",
         withMode(reviewState({result(ScanCategory::trash, {group("Trash", {item("a", 0, true)})})}),
                  Remover::Mode::shred),
         scanAll, SummaryRow::Values{"0 KB", "0 KB", "0 KB"},
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
         scanAll, SummaryRow::Values{"4 KB", "4 KB", "4 KB"},
         ActionBarLook{"4 KB selected",
                       QString::fromUtf8("Move to Trash \u00b7 Items already in the Trash are deleted for good."),
                       "Clean", true, true, PaletteRole::accent}},
        {"items of the Trash left unselected can all be put back",
         reviewState({result(ScanCategory::trash, {group("Trash", {item("a", 4000)})}),
                      result(ScanCategory::systemJunk, {group("Caches", {item("b", 2000, true)})})}),
         scanAll, SummaryRow::Values{"6 KB", "2 KB", "2 KB"},
         ActionBarLook{"2 KB selected", "Move to Trash", "Clean", true, false, PaletteRole::accent}},
        {"deleting for good anyway says nothing more",
         withMode(reviewState({result(ScanCategory::trash, {group("Trash", {item("a", 4000, true)})})}),
                  Remover::Mode::permanent),
         scanAll, SummaryRow::Values{"4 KB", "4 KB", "4 KB"},
         ActionBarLook{"4 KB selected", "Delete permanently", "Clean", true, false, PaletteRole::accent}},
    };
    for (const Case& c : cases) {
        const CategoryListPresentation shown = presentCategoryList(CleanupView::setup(), c.state);
        EXPECT_EQ(shown.scan, c.scan) << c.name;
        EXPECT_TRUE(shown.showsList) << c.name;
        EXPECT_EQ(shown.summary, c.summary) << c.name;
        EXPECT_EQ(shown.actionBar, c.bar) << c.name;
    }
}

namespace {

const QList<ScanCategory> six(AppModel::cleanupCategories.begin(), AppModel::cleanupCategories.end());

class CleanupViewTest : public ::testing::Test {
protected:
    ScreenModel fake;
    CleanupView view{fake.scans(), fake.feed(), fake.services()};

    AppModel& model() { return fake.model(); }
    bool summaryShown() const { return !view.summaryRow()->isHidden(); }
};

} // namespace

TEST_F(CleanupViewTest, ScanStopResultsAndCleanCycle)
{
    EXPECT_EQ(shownScan(*view.scanButton()), (ScanButtonLook{"Scan All", PaletteRole::accent, false}));
    EXPECT_FALSE(summaryShown());
    EXPECT_FALSE(shownBar(view));
    EXPECT_FALSE(view.list()->isHidden());

    // Scan All starts the six at once; one of them is held.
    fake.script().hold(ScanCategory::leftovers);
    view.scanButton()->click();
    for (const ScanCategory category : six) {
        fake.script().waitStarted(category);
    }
    waitFor([&] { return model().runningCategories() == AppModel::Categories{ScanCategory::leftovers}; });
    settle();
    EXPECT_EQ(shownScan(*view.scanButton()), (ScanButtonLook{"Stop", PaletteRole::danger, true}));
    EXPECT_TRUE(summaryShown());
    EXPECT_EQ(view.summaryRow()->shown(), (SummaryRow::Values{"5 KB", "5 KB", "5 KB"}));
    // The Trash's own items are among the selection: Trash mode deletes those.
    EXPECT_EQ(shownBar(view),
              (ActionBarLook{"5 KB selected",
                             QString::fromUtf8("Move to Trash \u00b7 Items already in the Trash are deleted for good."),
                             "Clean", true, false, PaletteRole::accent}));

    // Stop cancels every scan, this screen's and the others'.
    fake.script().hold(ScanCategory::privacy);
    model().scan(ScanCategory::privacy);
    view.scanButton()->click();
    EXPECT_TRUE(model().runningCategories().empty());
    fake.script().wakeAll();
    settle();
    EXPECT_EQ(shownScan(*view.scanButton()), (ScanButtonLook{"Scan All", PaletteRole::accent, false}));

    // Clean removes the selection of all six in the shared mode, busy meanwhile.
    waitFor([&] { return model().result(ScanCategory::leftovers).has_value(); });
    model().setCleanupMode(Remover::Mode::permanent);
    fake.holdRemovals();
    ASSERT_TRUE(pressBar(view));
    settle();
    EXPECT_EQ(shownBar(view)->isBusy, true);
    EXPECT_EQ(shownBar(view)->isEnabled, false);
    fake.releaseRemovals();
    fake.waitCleaned();
    ASSERT_EQ(fake.removals().size(), 1);
    QStringList expected;
    for (const ScanCategory category : six) {
        expected.append("/fake/" + rawValue(category));
    }
    EXPECT_EQ(fake.removals()[0].locations, expected);
    EXPECT_FALSE(fake.removals()[0].userSelected);
    EXPECT_EQ(fake.removals()[0].mode, Remover::Mode::permanent);

    ASSERT_TRUE(model().banner());
    EXPECT_EQ(model().banner()->title, "Cleanup complete");

    // All six return to their unscanned state.
    EXPECT_FALSE(summaryShown());
    EXPECT_FALSE(shownBar(view));
    EXPECT_EQ(shownScan(*view.scanButton()).title, "Scan All");
}

TEST_F(CleanupViewTest, PickerAndDetailLineFollowTheSharedMode)
{
    fake.scanned(ScanCategory::trash, {group("Trash", {item("a", 2000, true)})});
    auto* picker = view.findChild<RemovalModePicker*>("removalModePicker");
    ASSERT_NE(picker, nullptr);
    picker->setCurrentIndex(2);
    EXPECT_EQ(model().cleanupMode(), Remover::Mode::shred);
    settle();
    EXPECT_EQ(shownBar(view)->detail, "Shred securely");
    model().setCleanupMode(Remover::Mode::permanent);
    settle();
    EXPECT_EQ(picker->currentText(), "Delete permanently");
    EXPECT_EQ(shownBar(view)->detail, "Delete permanently");
}

TEST_F(CleanupViewTest, FreeAfterCleanAddsTheSelectionToTheLatestSample)
{
    fake.scanned(ScanCategory::trash, {group("Trash", {item("a", 2000, true), item("b", 3000)})});
    EXPECT_EQ(view.summaryRow()->shown(), (SummaryRow::Values{"5 KB", "2 KB", "2 KB"}));
    fake.setDiskFree(1000000);
    EXPECT_EQ(view.summaryRow()->shown(), (SummaryRow::Values{"5 KB", "2 KB", "1 MB"}));
}

TEST_F(CleanupViewTest, FoundNothingShowsZeroTilesAndADisabledBar)
{
    fake.scanned(ScanCategory::mailAttachments, {});
    EXPECT_TRUE(summaryShown());
    EXPECT_EQ(view.summaryRow()->shown(), (SummaryRow::Values{"0 KB", "0 KB", "0 KB"}));
    EXPECT_EQ(shownBar(view),
              (ActionBarLook{"0 KB selected", "Move to Trash", "Clean", false, false, PaletteRole::accent}));
    EXPECT_FALSE(pressBar(view) && model().isCleaning());
}

TEST(CleanupViewLook, RendersEmptyAndPopulated)
{
    ScreenModel fake;
    EXPECT_EQ(
        renderScreens([&] { return new CleanupView(fake.scans(), fake.feed(), fake.services()); }, "cleanup-empty")
            .size(),
        2);
    fake.scanned(ScanCategory::systemJunk,
                 {group("User caches", {item("com.example.cache", 48000000, true), item("thumbnails", 1200000)}),
                  group("Logs", {item("system.log", 320000, true)})});
    fake.scanned(ScanCategory::trash, {});
    fake.setDiskFree(120000000000);
    EXPECT_EQ(
        renderScreens([&] { return new CleanupView(fake.scans(), fake.feed(), fake.services()); }, "cleanup-populated")
            .size(),
        2);
}
