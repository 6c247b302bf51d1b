#include "ui/cleaning/PrivacyView.h"
#include "ui/ScreenFixtures.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/NoticeBlock.h"

#include <gtest/gtest.h>

using namespace harborlite;
using namespace harborlite::test;

TEST(PrivacyViewPresentation, TheBarCountsItems)
{
    const QString detail = QStringLiteral("Clearing these signs you out of websites.");
    struct Case {
        const char* name;
        ReviewState state;
        ScanButtonLook scan;
        bool showsSection;
        std::optional<ActionBarLook> bar;
    };
    const ScanButtonLook scan{"Scan", PaletteRole::accent, false};
    const ScanButtonLook stop{"Stop", PaletteRole::danger, true};
    const ScanCategory privacy = ScanCategory::privacy;
    const std::vector<Case> cases = {
        {"before the first scan", reviewState({}), scan, false, std::nullopt},
        {"scanning without a result", reviewState({}, {privacy}), stop, true, std::nullopt},
        {"a result without items", reviewState({result(privacy)}), scan, true, std::nullopt},
        {"nothing selected", reviewState({result(privacy, {group("Safari", {item("a", 10), item("b", 20)})})}), scan,
         true, ActionBarLook{"0 item(s) selected", detail, "Remove", false, false, PaletteRole::accent}},
        {"one selected reads the same way",
         reviewState({result(privacy, {group("Safari", {item("a", 10, true), item("b", 20)})})}), scan, true,
         ActionBarLook{"1 item(s) selected", detail, "Remove", true, false, PaletteRole::accent}},
        {"counted over groups, bytes play no part",
         reviewState({result(
             privacy,
             {group("Safari", {item("a", 0, true)}), group("Firefox", {item("b", 0, true), item("c", 0, true)})})}),
         scan, true, ActionBarLook{"3 item(s) selected", detail, "Remove", true, false, PaletteRole::accent}},
    };
    for (const Case& c : cases) {
        const SingleCategoryPresentation shown = presentSingleCategory(PrivacyView::setup(), c.state);
        EXPECT_EQ(shown.scan, c.scan) << c.name;
        EXPECT_EQ(shown.showsSection, c.showsSection) << c.name;
        EXPECT_EQ(shown.actionBar, c.bar) << c.name;
    }
}

TEST(PrivacyView, CountsItemsAndRemovesOnlyPrivacy)
{
    ScreenModel fake;
    AppModel& model = fake.model();
    PrivacyView view(model.scanSession(), model.monitorFeed(), fake.services());
    auto* notice = view.findChild<NoticeBlock*>("notice");
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text(),
              "Quit each browser before clearing its data. A running browser rewrites these files as it closes.");
    EXPECT_EQ(notice->tint(), PaletteRole::info);
    EXPECT_EQ(notice->symbol(), "info.circle.fill");
    EXPECT_EQ(view.emptyState()->button()->text(), "Scan Privacy Items");
    EXPECT_FALSE(view.emptyState()->isHidden());

    fake.script().hold(ScanCategory::privacy);
    view.scanButton()->click();
    settle();
    EXPECT_EQ(shownScan(*view.scanButton()), (ScanButtonLook{"Stop", PaletteRole::danger, true}));
    EXPECT_FALSE(view.section()->isHidden());
    EXPECT_TRUE(view.emptyState()->isHidden());
    view.scanButton()->click();
    EXPECT_TRUE(model.runningCategories().empty());
    fake.script().wakeAll();
    waitFor([&] { return model.result(ScanCategory::privacy).has_value(); });
    settle();
    EXPECT_EQ(shownScan(*view.scanButton()).title, "Scan");
    fake.script().release(ScanCategory::privacy);

    fake.scanned(ScanCategory::privacy, {group("Safari", {item("History.db", 0), item("Cookies", 10)})});
    fake.scanned(ScanCategory::trash, {group("Trash", {item("old", 10, true)})});
    const QString detail = QStringLiteral("Clearing these signs you out of websites.");
    EXPECT_EQ(shownBar(view),
              (ActionBarLook{"0 item(s) selected", detail, "Remove", false, false, PaletteRole::accent}));
    model.toggleItem(model.result(ScanCategory::privacy)->groups[0].items[0], ScanCategory::privacy);
    settle();
    EXPECT_EQ(shownBar(view),
              (ActionBarLook{"1 item(s) selected", detail, "Remove", true, false, PaletteRole::accent}));
    ASSERT_TRUE(pressBar(view));
    fake.waitCleaned();
    ASSERT_EQ(fake.removals().size(), 1);
    EXPECT_EQ(fake.removals()[0].locations, QStringList{"/fixture/History.db"});
    EXPECT_FALSE(fake.removals()[0].userSelected);
    EXPECT_TRUE(model.result(ScanCategory::trash).has_value());
    EXPECT_FALSE(shownBar(view));
    EXPECT_FALSE(view.emptyState()->isHidden());
}

TEST(PrivacyViewLook, RendersEmptyAndPopulated)
{
    ScreenModel fake;
    EXPECT_EQ(
        renderScreens([&] { return new PrivacyView(fake.scans(), fake.feed(), fake.services()); }, "privacy-empty")
            .size(),
        2);
    fake.scanned(ScanCategory::privacy,
                 {group("Firefox", {item("cookies.sqlite", 2400000, true), item("places.sqlite", 10500000)})});
    EXPECT_EQ(
        renderScreens([&] { return new PrivacyView(fake.scans(), fake.feed(), fake.services()); }, "privacy-populated")
            .size(),
        2);
}
