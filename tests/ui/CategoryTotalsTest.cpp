#include "ui/cleaning/CategoryTotals.h"
#include "ui/ScreenFixtures.h"
#include "ui/cleaning/ReviewLooks.h"

#include <gtest/gtest.h>

using namespace harborlite;
using namespace harborlite::test;

namespace {

constexpr std::array<ScanCategory, 2> pair = {ScanCategory::duplicates, ScanCategory::deviceBackups};

} // namespace

TEST(CategoryTotals, SumsOnlyTheListedCategories)
{
    struct Case {
        const char* name;
        ReviewState state;
        CategoryTotals expected;
    };
    const std::vector<Case> cases = {
        {"nothing scanned", reviewState({}), {0, 0, false, false}},
        {"an empty result counts as a result", reviewState({result(ScanCategory::duplicates)}), {0, 0, true, false}},
        {"selected and found over groups and categories",
         reviewState({result(ScanCategory::duplicates,
                             {group("a", {item("x", 100, true), item("y", 50)}), group("b", {item("z", 7, true)})}),
                      result(ScanCategory::deviceBackups, {group("c", {item("w", 1000, true)})})}),
         {1107, 1157, true, false}},
        {"other categories add nothing",
         reviewState({result(ScanCategory::trash, {group("a", {item("x", 100, true)})})}, {ScanCategory::trash}),
         {0, 0, false, false}},
        {"one listed category scanning makes it busy",
         reviewState({}, {ScanCategory::deviceBackups}),
         {0, 0, false, true}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(categoryTotals(c.state, pair), c.expected) << c.name;
    }
}

TEST(ReviewLooks, ScanButtonStopsInDangerWhileBusy)
{
    EXPECT_EQ(scanButtonLook(true, "Scan"), (ScanButtonLook{"Stop", PaletteRole::danger, true}));
    EXPECT_EQ(scanButtonLook(false, "Scan All"), (ScanButtonLook{"Scan All", PaletteRole::accent, false}));
}
