#include "ui/ScreenFixtures.h"
#include "ui/screens/LargeFilesView.h"

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
         reviewState({result(large, {group("Movies", {item("a", 60000000, true)}),
                                     group("Music", {item("b", 1500000, true)})})},
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
