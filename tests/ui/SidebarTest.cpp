#include "ui/shell/Sidebar.h"

#include "WindowFixture.h"
#include "shared/Formatting.h"
#include "ui/components/RoleLabel.h"
#include "ui/shell/SidebarRow.h"
#include "ui/shell/StorageFooter.h"
#include "ui/theme/TypeStyle.h"

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

// A result of `category` holding `itemsPerGroup` items of `size` bytes in each group.
CategoryResult result(ScanCategory category, QList<int> itemsPerGroup, qint64 size)
{
    CategoryResult made;
    made.category = category;
    for (int count : itemsPerGroup) {
        ScanGroup group;
        for (int i = 0; i < count; ++i) {
            ScanItem item;
            item.url = QStringLiteral("/x/") + QString::number(i);
            item.size = size;
            item.isSelected = i % 2 == 0;
            group.items.append(item);
        }
        made.groups.append(group);
    }
    return made;
}

AppModel::Results results(std::initializer_list<CategoryResult> list)
{
    AppModel::Results made;
    for (const CategoryResult& one : list) {
        made[one.category] = one;
    }
    return made;
}

struct BadgeCase {
    const char* name;
    AppModel::Results results;
    Route route;
    std::optional<QString> badge;
};

} // namespace

TEST(Sidebar, BadgesSumTheirCategoriesOrCountItems)
{
    const qint64 mb = 1'000'000;
    const QList<BadgeCase> cases = {
        {"no results, cleanup", {}, Route::cleanup, std::nullopt},
        {"no results, large files", {}, Route::largeFiles, std::nullopt},
        {"cleanup sums its six categories",
         results({result(ScanCategory::trash, {1}, 2 * mb), result(ScanCategory::leftovers, {2}, mb),
                  result(ScanCategory::duplicates, {1}, 50 * mb)}),
         Route::cleanup, Format::byteText(4 * mb)},
        {"cleanup results of zero bytes", results({result(ScanCategory::trash, {1}, 0)}), Route::cleanup, std::nullopt},
        {"three items in two groups", results({result(ScanCategory::largeAndOld, {1, 2}, 0)}), Route::largeFiles,
         QStringLiteral("3")},
        {"1234 items without a separator", results({result(ScanCategory::largeAndOld, {1234}, 1)}), Route::largeFiles,
         QStringLiteral("1234")},
        {"a large-files result with no items", results({result(ScanCategory::largeAndOld, {}, 1)}), Route::largeFiles,
         std::nullopt},
        {"reclaim with only backups", results({result(ScanCategory::deviceBackups, {1}, 3 * mb)}), Route::reclaim,
         Format::byteText(3 * mb)},
        {"reclaim sums duplicates and backups",
         results({result(ScanCategory::duplicates, {2}, mb), result(ScanCategory::deviceBackups, {1}, mb)}),
         Route::reclaim, Format::byteText(3 * mb)},
        {"malware without items", results({result(ScanCategory::malware, {0}, 1)}), Route::protection, std::nullopt},
        {"malware with items", results({result(ScanCategory::malware, {2}, 1)}), Route::protection,
         QStringLiteral("2")},
    };
    for (const BadgeCase& c : cases) {
        EXPECT_EQ(Sidebar::badge(c.route, c.results), c.badge) << c.name;
    }
    const AppModel::Results everything = results({
        result(ScanCategory::privacy, {3}, mb),
        result(ScanCategory::downloadedMedia, {3}, mb),
        result(ScanCategory::systemJunk, {3}, mb),
        result(ScanCategory::malware, {1}, mb),
    });
    for (Route route : {Route::smartScan, Route::widgets, Route::ruvozEzaz, Route::privacy, Route::shredder,
                        Route::applications, Route::performance, Route::maintenance}) {
        EXPECT_EQ(Sidebar::badge(route, everything), std::nullopt) << rawValue(route).toStdString();
    }
}

TEST(Sidebar, FooterFiguresFollowTheDisk)
{
    struct Case {
        qint64 free;
        qint64 total;
        double fraction;
    };
    const qint64 gb = 1'000'000'000;
    for (const Case& c : {Case{0, 0, 0}, Case{5 * gb, 2 * gb, 0}, Case{0, 4 * gb, 1}, Case{gb, 4 * gb, 0.75}}) {
        const StorageFooter::Figures figures = StorageFooter::figures(c.free, c.total);
        EXPECT_DOUBLE_EQ(figures.fraction, c.fraction) << c.free << " of " << c.total;
        EXPECT_EQ(figures.percentText, Format::percent(c.fraction));
        EXPECT_EQ(figures.caption(),
                  Format::byteText(c.free) + QStringLiteral(" free of ") + Format::byteText(c.total));
    }
    EXPECT_EQ(StorageFooter::figures(0, 0).caption(), QStringLiteral("0 KB free of 0 KB"));
    EXPECT_EQ(StorageFooter::fillWidth(180, 0), 4);
    EXPECT_EQ(StorageFooter::fillWidth(180, 1), 180);
    EXPECT_EQ(StorageFooter::fillWidth(200, 0.5), 100);
}

TEST(Sidebar, ListsTheSectionsUpperCasedWithTheirRoutes)
{
    test::WindowFixture fixture;
    AppModel& model = fixture.makeModel();
    Sidebar sidebar(model);
    QStringList titles;
    for (const RoleLabel* label : sidebar.findChildren<RoleLabel*>(QStringLiteral("sectionTitle"))) {
        titles.append(label->text());
    }
    EXPECT_EQ(titles, (QStringList{"START", "CLEANUP", "PROTECTION", "PERFORMANCE"}));

    sidebar.resize(232, 900);
    sidebar.show();
    test::WindowFixture::settle();
    // Top to bottom: Shredder sits under Protection, after Privacy.
    QList<Route> order;
    for (Route route : Routes::allCases) {
        order.append(route);
    }
    std::sort(order.begin(), order.end(), [&](Route a, Route b) {
        return sidebar.row(a)->mapTo(&sidebar, QPoint()).y() < sidebar.row(b)->mapTo(&sidebar, QPoint()).y();
    });
    EXPECT_EQ(order,
              (QList<Route>{Route::smartScan, Route::widgets, Route::cleanup, Route::largeFiles, Route::reclaim,
                            Route::ruvozEzaz, Route::protection, Route::privacy, Route::shredder, Route::applications,
                            Route::performance, Route::maintenance}));
}

TEST(Sidebar, ClickingARowSelectsItsRoute)
{
    test::WindowFixture fixture;
    AppModel& model = fixture.makeModel();
    Sidebar sidebar(model);
    sidebar.resize(232, 900);
    sidebar.show();
    EXPECT_TRUE(sidebar.row(Route::smartScan)->isSelected());

    QTest::mouseClick(sidebar.row(Route::maintenance), Qt::LeftButton);
    EXPECT_EQ(model.route(), Route::maintenance);
    test::WindowFixture::settle();
    EXPECT_TRUE(sidebar.row(Route::maintenance)->isSelected());
    EXPECT_FALSE(sidebar.row(Route::smartScan)->isSelected());

    // Whoever sets the route moves the highlight.
    model.setRoute(Route::privacy);
    test::WindowFixture::settle();
    EXPECT_TRUE(sidebar.row(Route::privacy)->isSelected());
    EXPECT_FALSE(sidebar.row(Route::maintenance)->isSelected());

    // Assistive tools read the shown destination as the checked row, and a
    // click on it again does not uncheck it.
    QTest::mouseClick(sidebar.row(Route::privacy), Qt::LeftButton);
    test::WindowFixture::settle();
    for (Route route : {Route::privacy, Route::maintenance}) {
        QAccessibleInterface* row = QAccessible::queryAccessibleInterface(sidebar.row(route));
        ASSERT_NE(row, nullptr);
        EXPECT_TRUE(row->state().checkable);
        EXPECT_EQ(bool(row->state().checked), route == Route::privacy);
        EXPECT_EQ(row->text(QAccessible::Name), title(route));
    }
}

TEST(Sidebar, BadgesAndFooterFollowTheModel)
{
    test::WindowFixture fixture;
    fixture.snapshot.diskTotal = 4'000'000'000;
    fixture.snapshot.diskFree = 1'000'000'000;
    AppModel& model = fixture.makeModel();
    Sidebar sidebar(model);
    EXPECT_EQ(sidebar.footer()->shown().caption(), QStringLiteral("0 KB free of 0 KB"));
    EXPECT_EQ(sidebar.row(Route::largeFiles)->badge(), std::nullopt);

    model.scan(ScanCategory::largeAndOld);
    model.refreshSnapshot();
    test::waitFor(
        [&] { return model.result(ScanCategory::largeAndOld).has_value() && model.snapshot().diskTotal > 0; });
    test::WindowFixture::settle();
    EXPECT_EQ(sidebar.row(Route::largeFiles)->badge(), QStringLiteral("1"));
    EXPECT_DOUBLE_EQ(sidebar.footer()->shown().fraction, 0.75);
}

TEST(Sidebar, OpensWideEnoughForTheLongestTitleBesideABadge)
{
    const int width = Sidebar::openingWidth();
    EXPECT_GE(width, Sidebar::kIdealWidth);
    EXPECT_LE(width, Sidebar::kMaximumWidth);
    // The list's insets (8 each side) and the row's own parts around the title.
    for (const char* badge : {"26.5 MB", "888.8 MB"}) {
        EXPECT_LE(SidebarRow::neededWidth(title(Route::reclaim), QString::fromLatin1(badge)) + 16, width) << badge;
    }
}

// Every title keeps the list's type size however narrow the column: one that
// has room shows whole, a longer one is cut at its end.
TEST(Sidebar, TitlesKeepTheirTypeSizeAndAreCutAtTheEnd)
{
    const QString longest = title(Route::reclaim);
    for (bool selected : {false, true}) {
        EXPECT_EQ(SidebarRow::titleFont(selected), TypeStyle::font(12.5, selected ? QFont::DemiBold : QFont::Medium));
        EXPECT_EQ(SidebarRow::shownTitle(longest, 400, selected), longest);
        const QString narrow = SidebarRow::shownTitle(longest, 118, selected);
        EXPECT_TRUE(narrow.endsWith(QChar(0x2026))) << narrow.toStdString();
        EXPECT_TRUE(longest.startsWith(narrow.chopped(1)));
        EXPECT_LE(QFontMetricsF(SidebarRow::titleFont(selected)).horizontalAdvance(narrow), 118);
    }
}

TEST(Sidebar, SectionsCloseUpRatherThanCutTheLastRow)
{
    const struct {
        int available;
        int content;
        int gap;
    } rows[] = {
        {800, 480, 18}, // room to spare
        {480 + 54 + 16, 480, 18}, // exactly room
        {480 + 30 + 16, 480, 10}, // three gaps of ten
        {480 + 10 + 16, 480, 8}, // never below eight: the list scrolls
        {100, 480, 8},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Sidebar::sectionGap(row.available, row.content, 4), row.gap) << row.available;
    }
}
