#include "engine/models/CategoryResult.h"
#include "engine/models/CleanupReport.h"
#include "engine/models/SizeOrder.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

ScanItem item(qint64 size, bool selected, const char* name = "x")
{
    ScanItem result;
    result.url = QStringLiteral("/tmp/") + QString::fromLatin1(name);
    result.displayName = QString::fromLatin1(name);
    result.size = size;
    result.isSelected = selected;
    return result;
}

} // namespace

TEST(ScanCategory, TextsAndRawValues)
{
    EXPECT_EQ(ScanCategories::allCases.size(), 11u);
    EXPECT_EQ(ScanCategories::smartScan.size(), 8u);
    EXPECT_EQ(ScanCategories::smartScan.front(), ScanCategory::systemJunk);
    EXPECT_EQ(ScanCategories::smartScan.back(), ScanCategory::privacy);

    for (ScanCategory category : ScanCategories::allCases) {
        EXPECT_EQ(scanCategoryFromRawValue(rawValue(category)), category);
        EXPECT_FALSE(title(category).isEmpty());
    }
    EXPECT_EQ(scanCategoryFromRawValue(QStringLiteral("largeAndOld")), ScanCategory::largeAndOld);
    EXPECT_FALSE(scanCategoryFromRawValue(QStringLiteral("LargeAndOld")).has_value());
    EXPECT_FALSE(scanCategoryFromRawValue(QString()).has_value());

    EXPECT_EQ(title(ScanCategory::largeAndOld), QStringLiteral("Large & Old Files"));
    EXPECT_EQ(symbol(ScanCategory::malware), QStringLiteral("shield.lefthalf.filled"));
    EXPECT_EQ(blurb(ScanCategory::deviceBackups),
              QStringLiteral("iPhone and iPad backups and their software updates."));
    EXPECT_EQ(rawValue(ScanCategory::downloadedMedia), QStringLiteral("downloadedMedia"));
}

TEST(ScanGroup, SelectionStateAndSelectedTotals)
{
    struct Case {
        std::vector<std::pair<qint64, bool>> items;
        ScanGroup::SelectionState state;
        qint64 selectedSize;
        int selectedCount;
    };
    const Case cases[] = {
        {{}, ScanGroup::SelectionState::none, 0, 0},
        {{{10, true}}, ScanGroup::SelectionState::all, 10, 1},
        {{{10, true}, {5, false}}, ScanGroup::SelectionState::partial, 10, 1},
        {{{10, false}, {5, false}}, ScanGroup::SelectionState::none, 0, 0},
        {{{10, true}, {5, true}}, ScanGroup::SelectionState::all, 15, 2},
    };
    for (const Case& c : cases) {
        ScanGroup group;
        for (const auto& [size, selected] : c.items) {
            group.items.append(item(size, selected));
        }
        EXPECT_EQ(group.selectionState(), c.state);
        EXPECT_EQ(group.selectedSize(), c.selectedSize);
        EXPECT_EQ(group.selectedCount(), c.selectedCount);
    }
}

TEST(CategoryResult, TotalsCountDeselectedItemsButSelectionDoesNot)
{
    CategoryResult result;
    result.category = ScanCategory::trash;
    ScanGroup first;
    first.items = {item(100, true), item(50, false)};
    ScanGroup second;
    second.items = {item(7, true)};
    result.groups = {first, second};

    EXPECT_EQ(result.id(), QStringLiteral("trash"));
    EXPECT_EQ(result.totalSize(), 157);
    EXPECT_EQ(result.itemCount(), 3);
    EXPECT_EQ(result.selectedCount(), 2);
}

TEST(ScanItem, EqualityCoversIdentifierAndSelection)
{
    const ScanItem a = item(10, true);
    const ScanItem b = item(10, true);
    EXPECT_NE(a, b);
    ScanItem copy = a;
    EXPECT_EQ(copy, a);
    copy.isSelected = false;
    EXPECT_NE(copy, a);
}

TEST(SizeOrder, LargestFirstAndStableForTies)
{
    QList<ScanItem> items = {item(5, true, "a"), item(9, true, "b"), item(5, true, "c"), item(0, true, "d"),
                             item(9, true, "e")};
    sortBySize(items);
    QStringList names;
    for (const ScanItem& i : items) {
        names << i.displayName;
    }
    EXPECT_EQ(names, (QStringList{"b", "e", "a", "c", "d"}));
}
