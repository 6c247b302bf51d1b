#include "ui/ScreenFixtures.h"
#include "ui/screens/PrivacyView.h"

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
        {"nothing selected", reviewState({result(privacy, {group("Safari", {item("a", 10), item("b", 20)})})}),
         scan, true, ActionBarLook{"0 item(s) selected", detail, "Remove", false, false, PaletteRole::accent}},
        {"one selected reads the same way",
         reviewState({result(privacy, {group("Safari", {item("a", 10, true), item("b", 20)})})}), scan, true,
         ActionBarLook{"1 item(s) selected", detail, "Remove", true, false, PaletteRole::accent}},
        {"counted over groups, bytes play no part",
         reviewState({result(privacy, {group("Safari", {item("a", 0, true)}),
                                       group("Firefox", {item("b", 0, true), item("c", 0, true)})})}),
         scan, true, ActionBarLook{"3 item(s) selected", detail, "Remove", true, false, PaletteRole::accent}},
    };
    for (const Case& c : cases) {
        const SingleCategoryPresentation shown = presentSingleCategory(PrivacyView::setup(), c.state);
        EXPECT_EQ(shown.scan, c.scan) << c.name;
        EXPECT_EQ(shown.showsSection, c.showsSection) << c.name;
        EXPECT_EQ(shown.actionBar, c.bar) << c.name;
    }
}
