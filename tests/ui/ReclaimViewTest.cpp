#include "ui/cleaning/ReclaimView.h"
#include "ui/ScreenFixtures.h"
#include "ui/cleaning/CleanupView.h"
#include "ui/cleaning/RemovalModePicker.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/NoticeBlock.h"
#include "ui/components/SummaryRow.h"

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
        std::optional<SummaryRow::Values> summary;
        std::optional<ActionBarLook> bar;
    };
    const ScanButtonLook scan{"Scan", PaletteRole::accent, false};
    const ScanButtonLook again{"Scan Again", PaletteRole::accent, false};
    const ScanButtonLook stop{"Stop", PaletteRole::danger, true};
    const CategoryResult duplicates =
        result(ScanCategory::duplicates, {group("Photo.jpg", {item("a", 2000), item("b", 2000, true)})});
    const std::vector<Case> cases = {
        {"before the first scan: the placeholder", reviewState({}), scan, false, std::nullopt, std::nullopt},
        {"first scan running: the list, no summary, no bar", reviewState({}, {ScanCategory::duplicates}), stop, true,
         std::nullopt, std::nullopt},
        {"one of two scanned is enough", reviewState({result(ScanCategory::deviceBackups)}), again, true,
         SummaryRow::Values{"0 KB", "0 KB", "0 KB"},
         ActionBarLook{"0 KB selected", "Move to Trash", "Remove", false, false, PaletteRole::accent}},
        {"a selection enables Remove", reviewState({duplicates}), again, true,
         SummaryRow::Values{"4 KB", "2 KB", "2 KB"},
         ActionBarLook{"2 KB selected", "Move to Trash", "Remove", true, false, PaletteRole::accent}},
        {"Stop wins over Scan Again", reviewState({duplicates}, {ScanCategory::deviceBackups}), stop, true,
         SummaryRow::Values{"4 KB", "2 KB", "2 KB"},
         ActionBarLook{"2 KB selected", "Move to Trash", "Remove", true, false, PaletteRole::accent}},
        {"the Cleanup categories do not count", reviewState({result(ScanCategory::trash)}, {ScanCategory::trash}), scan,
         false, std::nullopt, std::nullopt},
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
    for (const auto& [mode, title] :
         {std::pair{Remover::Mode::trash, "Move to Trash"}, std::pair{Remover::Mode::permanent, "Delete permanently"},
          std::pair{Remover::Mode::shred, "Shred securely"}}) {
        ReviewState state = reviewState({result(ScanCategory::duplicates)});
        state.mode = mode;
        EXPECT_EQ(presentCategoryList(ReclaimView::setup(), state).actionBar->detail, title);
    }
}

namespace {

class ReclaimViewTest : public ::testing::Test {
protected:
    ScreenModel fake;
    ReclaimView view{fake.scans(), fake.feed(), fake.services()};

    AppModel& model() { return fake.model(); }
    bool shown(const QWidget* widget) const { return widget && !widget->isHidden(); }
};

} // namespace

TEST_F(ReclaimViewTest, PlaceholderFirstScanOneResultAndRemove)
{
    auto* notice = view.findChild<NoticeBlock*>("notice");
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text(),
              "A duplicate is only a duplicate if you do not need two copies, and a device backup can be the only "
              "copy of what was on that iPhone. Harborlite keeps the oldest copy of every duplicate set and never "
              "preselects anything on this screen.");
    EXPECT_EQ(notice->tint(), PaletteRole::warning);
    EXPECT_EQ(shownScan(*view.scanButton()), (ScanButtonLook{"Scan", PaletteRole::accent, false}));
    EXPECT_TRUE(shown(view.emptyState()));
    EXPECT_EQ(view.emptyState()->button()->text(), "Find Reclaimable Space");
    EXPECT_EQ(view.emptyState()->minimumHeight(), 0);
    EXPECT_FALSE(shown(view.list()));
    EXPECT_FALSE(shown(view.summaryRow()));
    EXPECT_FALSE(shownBar(view));

    // The placeholder's button scans both, as the scan button does.
    fake.script().hold(ScanCategory::duplicates);
    fake.script().hold(ScanCategory::deviceBackups);
    view.emptyState()->button()->click();
    EXPECT_EQ(model().runningCategories(),
              (AppModel::Categories{ScanCategory::duplicates, ScanCategory::deviceBackups}));
    settle();
    EXPECT_EQ(shownScan(*view.scanButton()), (ScanButtonLook{"Stop", PaletteRole::danger, true}));
    EXPECT_TRUE(shown(view.list()));
    EXPECT_FALSE(shown(view.emptyState()));
    EXPECT_FALSE(shown(view.summaryRow()));
    EXPECT_FALSE(shownBar(view));

    // One result is enough for the summary and the bar; Stop still wins.
    fake.setGroups(ScanCategory::deviceBackups, {group("iPhone", {item("backup", 4000000)})});
    fake.script().release(ScanCategory::deviceBackups);
    waitFor([&] { return model().result(ScanCategory::deviceBackups).has_value(); });
    settle();
    EXPECT_EQ(shownScan(*view.scanButton()).title, "Stop");
    EXPECT_TRUE(shown(view.summaryRow()));
    EXPECT_EQ(view.summaryRow()->shown(), (SummaryRow::Values{"4 MB", "0 KB", "0 KB"}));
    EXPECT_EQ(shownBar(view),
              (ActionBarLook{"0 KB selected", "Move to Trash", "Remove", false, false, PaletteRole::accent}));

    fake.script().release(ScanCategory::duplicates);
    waitFor([&] { return model().runningCategories().empty(); });
    settle();
    EXPECT_EQ(shownScan(*view.scanButton()), (ScanButtonLook{"Scan Again", PaletteRole::accent, false}));
    EXPECT_EQ(shownBar(view)->title, "1 KB selected");

    ASSERT_TRUE(pressBar(view));
    fake.waitCleaned();
    ASSERT_EQ(fake.removals().size(), 1);
    EXPECT_EQ(fake.removals()[0].locations, QStringList{"/fake/duplicates"});
    EXPECT_FALSE(fake.removals()[0].userSelected);
    EXPECT_TRUE(shown(view.emptyState()));
    EXPECT_FALSE(shown(view.list()));
    EXPECT_FALSE(shownBar(view));
    EXPECT_EQ(shownScan(*view.scanButton()).title, "Scan");
}

TEST_F(ReclaimViewTest, TheModeIsTheOneCleanupShows)
{
    CleanupView cleanup(fake.scans(), fake.feed(), fake.services());
    auto* here = view.findChild<RemovalModePicker*>("removalModePicker");
    auto* there = cleanup.findChild<RemovalModePicker*>("removalModePicker");
    here->setCurrentIndex(1);
    EXPECT_EQ(there->mode(), Remover::Mode::permanent);
    there->setCurrentIndex(2);
    EXPECT_EQ(here->mode(), Remover::Mode::shred);
}

TEST(ReclaimViewLook, RendersEmptyAndPopulated)
{
    ScreenModel fake;
    EXPECT_EQ(
        renderScreens([&] { return new ReclaimView(fake.scans(), fake.feed(), fake.services()); }, "reclaim-empty")
            .size(),
        2);
    fake.scanned(ScanCategory::duplicates,
                 {group("IMG_2041.jpg", {item("IMG_2041.jpg", 4200000), item("IMG_2041 copy.jpg", 4200000, true)})});
    fake.scanned(ScanCategory::deviceBackups, {group("iPhone", {item("Backup 2024-03-02", 12000000000)})});
    fake.setDiskFree(80000000000);
    EXPECT_EQ(
        renderScreens([&] { return new ReclaimView(fake.scans(), fake.feed(), fake.services()); }, "reclaim-populated")
            .size(),
        2);
}
