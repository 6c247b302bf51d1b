#include "ui/cleaning/LargeFilesView.h"
#include "ui/ScreenFixtures.h"
#include "ui/cleaning/RemovalModePicker.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/NoticeBlock.h"
#include "ui/components/SummaryRow.h"

#include <gtest/gtest.h>

using namespace harborlite;
using namespace harborlite::test;

TEST(LargeFilesViewPresentation, SectionAndBarFollowTheCategory)
{
    const QString detail = QStringLiteral("These are your own documents \u2014 check each one before removing it.");
    struct Case {
        const char* name;
        ReviewState state;
        ScanButtonLook scan;
        bool showsSection;
        std::optional<ActionBarLook> bar;
    };
    const ScanButtonLook scan{"Scan", PaletteRole::accent, false};
    const ScanButtonLook stop{"Stop", PaletteRole::danger, true};
    const ScanCategory large = ScanCategory::largeAndOld;
    const std::vector<Case> cases = {
        {"before the first scan", reviewState({}), scan, false, std::nullopt},
        {"the section shows from the start of the scan", reviewState({}, {large}), stop, true, std::nullopt},
        {"found nothing: section without bar", reviewState({result(large, {group("Movies", {})})}), scan, true,
         std::nullopt},
        {"nothing selected", reviewState({result(large, {group("Movies", {item("a", 60000000)})})}), scan, true,
         ActionBarLook{"0 KB selected", detail, "Remove", false, false, PaletteRole::warning}},
        {"a selected empty file enables Remove",
         reviewState({result(large, {group("Movies", {item("a", 60000000), item("b", 0, true)})})}), scan, true,
         ActionBarLook{"0 KB selected", detail, "Remove", true, false, PaletteRole::warning}},
        {"bytes of the selection, while rescanning",
         reviewState(
             {result(large,
                     {group("Movies", {item("a", 60000000, true)}), group("Music", {item("b", 1500000, true)})})},
             {large}),
         stop, true, ActionBarLook{"61.5 MB selected", detail, "Remove", true, false, PaletteRole::warning}},
        {"another category's scan changes nothing", reviewState({}, {ScanCategory::privacy}), scan, false,
         std::nullopt},
    };
    for (const Case& c : cases) {
        const SingleCategoryPresentation shown = presentSingleCategory(LargeFilesView::setup(), c.state);
        EXPECT_EQ(shown.scan, c.scan) << c.name;
        EXPECT_EQ(shown.showsSection, c.showsSection) << c.name;
        EXPECT_EQ(shown.actionBar, c.bar) << c.name;
    }
}

namespace {

bool shown(const QWidget* widget)
{
    return widget && !widget->isHidden();
}

} // namespace

TEST(LargeFilesView, PlaceholderScanReviewAndRemoveFromPersonalFolders)
{
    ScreenModel fake;
    AppModel& model = fake.model();
    LargeFilesView view(model.scanSession(), model.monitorFeed(), fake.services());
    auto* notice = view.findChild<NoticeBlock*>("notice");
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text(),
              QStringLiteral("Everything listed here is a file you created or downloaded. Nothing is "
                             "selected automatically \u2014 reveal anything you are unsure about in "
                             "the Finder first."));
    EXPECT_EQ(notice->tint(), PaletteRole::warning);
    EXPECT_FALSE(view.findChild<RemovalModePicker*>());
    EXPECT_FALSE(view.findChild<SummaryRow*>());
    EXPECT_EQ(shownScan(*view.scanButton()), (ScanButtonLook{"Scan", PaletteRole::accent, false}));
    EXPECT_TRUE(shown(view.emptyState()));
    EXPECT_EQ(view.emptyState()->minimumHeight(), 300);
    EXPECT_EQ(view.emptyState()->button()->text(), "Find Large Files");
    EXPECT_FALSE(shown(view.section()));
    EXPECT_FALSE(shownBar(view));

    // "Find Large Files" scans like "Scan"; the section replaces the placeholder at once.
    fake.script().hold(ScanCategory::largeAndOld);
    view.emptyState()->button()->click();
    EXPECT_TRUE(model.runningCategories().contains(ScanCategory::largeAndOld));
    settle();
    EXPECT_EQ(shownScan(*view.scanButton()), (ScanButtonLook{"Stop", PaletteRole::danger, true}));
    EXPECT_TRUE(shown(view.section()));
    EXPECT_FALSE(shown(view.emptyState()));
    EXPECT_FALSE(shownBar(view));

    fake.setGroups(ScanCategory::largeAndOld,
                   {group("Movies", {item("film.mov", 80000000), item("empty.bin", 0, true)})});
    fake.script().release(ScanCategory::largeAndOld);
    waitFor([&] { return model.runningCategories().empty(); });
    settle();
    const QString detail = QStringLiteral("These are your own documents \u2014 check each one before removing it.");
    EXPECT_EQ(shownBar(view), (ActionBarLook{"0 KB selected", detail, "Remove", true, false, PaletteRole::warning}));

    model.setCleanupMode(Remover::Mode::shred);
    ASSERT_TRUE(pressBar(view));
    fake.waitCleaned();
    ASSERT_EQ(fake.removals().size(), 1);
    EXPECT_EQ(fake.removals()[0].locations, QStringList{"/fixture/empty.bin"});
    EXPECT_TRUE(fake.removals()[0].userSelected);
    EXPECT_EQ(fake.removals()[0].mode, Remover::Mode::shred);
    EXPECT_TRUE(shown(view.emptyState()));
    EXPECT_FALSE(shown(view.section()));
    EXPECT_FALSE(shownBar(view));
}

TEST(LargeFilesView, FoundNothingShowsTheSectionWithoutABar)
{
    ScreenModel fake;
    LargeFilesView view(fake.scans(), fake.feed(), fake.services());
    fake.scanned(ScanCategory::largeAndOld, {});
    EXPECT_TRUE(shown(view.section()));
    EXPECT_FALSE(shown(view.emptyState()));
    EXPECT_FALSE(shownBar(view));
    EXPECT_EQ(shownScan(*view.scanButton()).title, "Scan");
}

TEST(LargeFilesViewLook, RendersEmptyAndPopulated)
{
    ScreenModel fake;
    EXPECT_EQ(
        renderScreens([&] { return new LargeFilesView(fake.scans(), fake.feed(), fake.services()); }, "large-empty")
            .size(),
        2);
    fake.scanned(
        ScanCategory::largeAndOld,
        {group("Movies", {item("Holiday 2019.mov", 2400000000, true), item("Screen recording.mov", 640000000)}),
         group("Downloads", {item("ubuntu.iso", 4700000000)})});
    EXPECT_EQ(
        renderScreens([&] { return new LargeFilesView(fake.scans(), fake.feed(), fake.services()); }, "large-populated")
            .size(),
        2);
}
