#include "ui/diskmap/DiskColumns.h"
#include "model/AppModelSetup.h"
#include "model/DiskMap.h"
#include "model/FakeEngine.h"
#include "platform/PathText.h"
#include "shared/MemoryDefaults.h"
#include "support/BadInput.h"
#include "support/FixtureTree.h"
#include "support/OrdinaryUser.h"
#include "ui/ScreenFixtures.h"
#include "ui/components/ThinScrollBar.h"
#include "ui/diskmap/DiskColumn.h"
#include "ui/diskmap/DiskColumnsPresentation.h"
#include "ui/theme/Motion.h"

#include <QDir>
#include <QImage>
#include <QListView>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <sys/stat.h>
#include <unistd.h>

using namespace harborlite;
using harborlite::test::waitFor;
namespace P = harborlite::DiskColumnsPresentation;

namespace {

DiskNode node(const QString& url, qint64 size, bool isDirectory, std::vector<DiskNode> children = {})
{
    return {QUuid::createUuid(), url, url.section(QLatin1Char('/'), -1), size, isDirectory, std::move(children)};
}

P::NodeRef ref(DiskNode made)
{
    return std::make_shared<const DiskNode>(std::move(made));
}

// /m: A (with A1 > A11 > A111 > x, A2 unmeasured, a file), B unmeasured, f.
DiskNode sampleTree()
{
    std::vector<DiskNode> a111{node("/m/A/A1/A11/A111/x", 100, false)};
    std::vector<DiskNode> a11{node("/m/A/A1/A11/A111", 200, true, std::move(a111))};
    std::vector<DiskNode> a1{node("/m/A/A1/A11", 300, true, std::move(a11))};
    std::vector<DiskNode> a{node("/m/A/A1", 400, true, std::move(a1)), node("/m/A/A2", 150, true),
                            node("/m/A/file", 50, false)};
    return node("/m", 1000, true,
                {node("/m/A", 600, true, std::move(a)), node("/m/B", 300, true), node("/m/f", 100, false)});
}

// A disk map store as the browser sees it: listings and the folders being
// listed, both changed by the test, and the requests it received.
struct FakeMap {
    DiskColumns::Listings listings;
    DiskColumns::Locations listing;
    QStringList expanded;
    QStringList revealed;
    DiskColumns* columns = nullptr;

    DiskColumns::Source source()
    {
        return {[this]() -> const DiskColumns::Listings& { return listings; },
                [this]() -> const DiskColumns::Locations& { return listing; },
                [this](const DiskNode& folder) {
                    expanded.append(folder.url);
                    listing.insert(folder.url);
                    if (columns != nullptr) {
                        columns->refresh();
                    }
                },
                [this](const QString& path) { revealed.append(path); }};
    }

    void finish(const QString& url, std::vector<DiskNode> nodes)
    {
        listing.erase(url);
        listings[url] = std::move(nodes);
        columns->refresh();
    }
};

struct Browser {
    FakeMap map;
    std::unique_ptr<DiskColumns> columns;

    explicit Browser(DiskNode root, QSize size = {1400, 500})
    {
        columns = std::make_unique<DiskColumns>(std::move(root), map.source());
        map.columns = columns.get();
        columns->resize(size);
        columns->show();
        QCoreApplication::processEvents();
    }

    // The names listed in a column, in order.
    QStringList names(int level) const
    {
        QStringList listed;
        DiskColumn* shown = columns->column(level);
        for (int row = 0; shown != nullptr && row < shown->entries()->rowCount(); ++row) {
            listed.append(shown->entries()->node(row)->name);
        }
        return listed;
    }

    // Clicks the entry named `name` in column `level`, as the pointer would.
    void click(int level, const QString& name)
    {
        DiskColumn* shown = columns->column(level);
        ASSERT_NE(shown, nullptr) << level;
        const int row = static_cast<int>(names(level).indexOf(name));
        ASSERT_GE(row, 0) << name.toStdString();
        QListView* list = shown->list();
        const QRect rect = list->visualRect(shown->entries()->index(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    QStringList path() const
    {
        QStringList names;
        for (const P::NodeRef& selected : columns->path()) {
            names.append(selected->name);
        }
        return names;
    }
};

} // namespace

// Presentation --------------------------------------------------------------

TEST(DiskColumnsPresentation, SizeBandsFollowTheShareOfTheColumn)
{
    struct Case {
        const char* name;
        qint64 size;
        qint64 total;
        bool selected;
        QString text;
        PaletteRole role;
        bool semibold;
    };
    const std::vector<Case> cases = {
        {"a fifth", 200, 1000, false, QStringLiteral("200 bytes"), PaletteRole::accentDeep, true},
        {"a twentieth", 50'000, 1'000'000, false, QStringLiteral("50 KB"), PaletteRole::accent, true},
        {"just under a twentieth", 499, 10'000, false, QStringLiteral("499 bytes"), PaletteRole::inkTertiary, false},
        {"a column of no size", 5'000, 0, false, QStringLiteral("5 KB"), PaletteRole::inkTertiary, false},
        {"nothing", 0, 1000, false, QStringLiteral("0 KB"), PaletteRole::inkTertiary, false},
        {"less than nothing", -4, 1000, false, QStringLiteral("0 KB"), PaletteRole::inkTertiary, false},
        {"more than the column", 3'000, 1'000, false, QStringLiteral("3 KB"), PaletteRole::accentDeep, true},
        {"selected, small", 1, 1000, true, QStringLiteral("1 byte"), PaletteRole::accentDeep, false},
        {"selected, nothing", 0, 1000, true, QStringLiteral("0 KB"), PaletteRole::accentDeep, false},
    };
    for (const Case& c : cases) {
        const P::RowLook look = P::rowLook(c.size, c.total, c.selected, false);
        EXPECT_EQ(look.sizeText, c.text) << c.name;
        EXPECT_EQ(look.sizeRole, c.role) << c.name;
        EXPECT_EQ(look.sizeSemibold, c.semibold) << c.name;
    }
}

TEST(DiskColumnsPresentation, SelectionAndHoverPaintTheRow)
{
    const P::RowLook plain = P::rowLook(10, 1000, false, false);
    EXPECT_FALSE(plain.backgroundOpacity);
    EXPECT_EQ(plain.iconRole, PaletteRole::inkTertiary);
    EXPECT_EQ(plain.chevronRole, PaletteRole::inkTertiary);
    EXPECT_DOUBLE_EQ(plain.chevronOpacity, 0.7);

    const P::RowLook hovered = P::rowLook(10, 1000, false, true);
    EXPECT_EQ(hovered.backgroundOpacity, std::optional<qreal>(0.45));
    EXPECT_EQ(hovered.iconRole, PaletteRole::inkTertiary);

    const P::RowLook selected = P::rowLook(10, 1000, true, true);
    EXPECT_EQ(selected.backgroundOpacity, std::optional<qreal>(0.85));
    EXPECT_EQ(selected.sizeRole, PaletteRole::accentDeep);
    EXPECT_EQ(selected.iconRole, PaletteRole::accentDeep);
    EXPECT_EQ(selected.chevronRole, PaletteRole::accentDeep);
    EXPECT_DOUBLE_EQ(selected.chevronOpacity, 1);
}

TEST(DiskColumnsPresentation, ContentIsDecidedInOrder)
{
    using C = P::ColumnContent;
    EXPECT_EQ(P::columnContent(3, false), C::entries);
    EXPECT_EQ(P::columnContent(3, true), C::entries);
    EXPECT_EQ(P::columnContent(0, true), C::measuring);
    EXPECT_EQ(P::columnContent(std::nullopt, true), C::measuring);
    EXPECT_EQ(P::columnContent(std::nullopt, false), C::nothingToShow);
    EXPECT_EQ(P::columnContent(0, false), C::empty);
    EXPECT_EQ(P::placeholderTitle(C::measuring), QStringLiteral("Measuring\u2026"));
    EXPECT_EQ(P::placeholderTitle(C::nothingToShow), QStringLiteral("Nothing to show"));
    EXPECT_EQ(P::placeholderTitle(C::empty), QStringLiteral("Empty"));
    EXPECT_TRUE(P::placeholderSpins(C::measuring));
    EXPECT_FALSE(P::placeholderSpins(C::empty));
    EXPECT_FALSE(P::placeholderSpins(C::nothingToShow));
}

TEST(DiskColumnsPresentation, EntriesGoLargestFirstAndEqualSizesKeepTheirOrder)
{
    const std::vector<DiskNode> children = {node("/m/a", 5, false), node("/m/b", 9, false), node("/m/c", 5, true),
                                            node("/m/d", 9, false), node("/m/e", 5, false)};
    QStringList order;
    for (const DiskNode* entry : P::sortedEntries(children)) {
        order.append(entry->name);
    }
    EXPECT_EQ(order, (QStringList{"b", "d", "a", "c", "e"}));
    // The sort works on a copy: the listing keeps its order.
    EXPECT_EQ(children.front().name, QStringLiteral("a"));
}

TEST(DiskColumnsPresentation, ColumnsAreTheRootAndTheDirectoriesOfThePath)
{
    const P::NodeRef root = ref(node("/m", 10, true));
    const P::NodeRef dir = ref(node("/m/a", 5, true));
    const P::NodeRef sub = ref(node("/m/a/b", 4, true));
    const P::NodeRef file = ref(node("/m/a/b/c", 1, false));
    EXPECT_EQ(P::columnParents(root, {}), (P::Path{root}));
    EXPECT_EQ(P::columnParents(root, {dir, sub}), (P::Path{root, dir, sub}));
    EXPECT_EQ(P::columnParents(root, {dir, sub, file}), (P::Path{root, dir, sub}));

    struct Case {
        const char* name;
        P::Path before;
        P::NodeRef node;
        std::size_t level;
        P::Path after;
    };
    const std::vector<Case> cases = {
        {"a file in the first column", {dir, sub, file}, file, 0, {file}},
        {"a folder in a middle column", {dir, sub, file}, sub, 1, {dir, sub}},
        {"a folder in the last column", {dir}, sub, 1, {dir, sub}},
        {"a level past the end keeps the whole path", {dir}, sub, 4, {dir, sub}},
        {"into an empty path", {}, dir, 0, {dir}},
    };
    for (const Case& c : cases) {
        P::Path path = c.before;
        P::Path parents = P::columnParents(root, path);
        P::select(path, parents, c.node, c.level);
        EXPECT_EQ(path, c.after) << c.name;
        EXPECT_EQ(parents, P::columnParents(root, c.after)) << c.name;
    }
}

TEST(DiskColumnsPresentation, NamesShowOnOneLineAndTipsShowPathsAsWritten)
{
    EXPECT_EQ(P::displayName(QStringLiteral("plain name.txt")), QStringLiteral("plain name.txt"));
    EXPECT_EQ(P::displayName(QStringLiteral("two\nlines")), QStringLiteral("two\u21B5lines"));
    EXPECT_EQ(P::displayName(QStringLiteral("tab\tcr\r")), QStringLiteral("tab\u21E5cr\u21B5"));
    EXPECT_EQ(P::displayName(QStringLiteral("sep\u2028par\u2029")), QStringLiteral("sep\u21B5par\u21B5"));
    EXPECT_EQ(P::displayName(QStringLiteral("bell\a del\x7f")), QStringLiteral("bell\u2407 del\u2421"));
    EXPECT_EQ(P::displayName(QStringLiteral("lossy \uFFFD")), QStringLiteral("lossy \uFFFD"));
    // Bytes that are not UTF-8 arrive as lone surrogates; pairs are characters.
    EXPECT_EQ(P::displayName(platform::pathText(QByteArray("bad\xff\xfe.bin"))), QStringLiteral("bad\uFFFD\uFFFD.bin"));
    EXPECT_EQ(P::displayName(QStringLiteral("pair \U0001F600")), QStringLiteral("pair \U0001F600"));
    EXPECT_EQ(P::toolTipMarkup(platform::pathText(QByteArray("/m/\xff"))),
              QStringLiteral("<p style='white-space:pre'>/m/\uFFFD</p>"));

    EXPECT_EQ(P::toolTipMarkup(QStringLiteral("/m/<b>bold</b> & co")),
              QStringLiteral("<p style='white-space:pre'>/m/&lt;b&gt;bold&lt;/b&gt; &amp; co</p>"));
}

TEST(DiskColumnsPresentation, ScrollTargetEndsAtTheLastColumn)
{
    EXPECT_EQ(P::scrollTarget(1, 259, 1000), 0);
    EXPECT_EQ(P::scrollTarget(3, 259, 777), 0);
    EXPECT_EQ(P::scrollTarget(4, 259, 600), 4 * 259 - 600);
}

// The browser ----------------------------------------------------------------

TEST(DiskColumns, EmptyPathShowsTheRootColumnLargestFirstWithNothingSelected)
{
    Browser browser(sampleTree());
    EXPECT_EQ(browser.columns->columnCount(), 1);
    EXPECT_EQ(browser.names(0), (QStringList{"A", "B", "f"}));
    EXPECT_EQ(browser.columns->selectedNode().url, QStringLiteral("/m"));
    DiskColumn* root = browser.columns->column(0);
    for (int row = 0; row < root->entries()->rowCount(); ++row) {
        EXPECT_FALSE(root->entries()->isSelected(row));
    }
    EXPECT_EQ(root->width(), DiskColumns::kColumnWidth);
    EXPECT_TRUE(browser.map.expanded.isEmpty());
}

TEST(DiskColumns, SelectionCutsThePathAtTheClickedColumn)
{
    struct Step {
        int level;
        const char* name;
    };
    struct Case {
        const char* name;
        std::vector<Step> before;
        Step click;
        QStringList path;
        int columns;
        bool scrolls;
    };
    const std::vector<Case> cases = {
        {"a file in the first column", {}, {0, "f"}, {"f"}, 1, false},
        {"a folder in the last column", {}, {0, "A"}, {"A"}, 2, true},
        {"another folder in the next-to-last column", {{0, "A"}, {1, "A1"}}, {1, "A2"}, {"A", "A2"}, 3, false},
        {"a folder in the first column while five show",
         {{0, "A"}, {1, "A1"}, {2, "A11"}, {3, "A111"}},
         {0, "B"},
         {"B"},
         2,
         true},
        {"a file in the first column while five show",
         {{0, "A"}, {1, "A1"}, {2, "A11"}, {3, "A111"}},
         {0, "f"},
         {"f"},
         1,
         true},
        {"the selected folder again", {{0, "A"}, {1, "A1"}, {2, "A11"}}, {1, "A1"}, {"A", "A1"}, 3, true},
        {"a file deep down",
         {{0, "A"}, {1, "A1"}, {2, "A11"}, {3, "A111"}},
         {4, "x"},
         {"A", "A1", "A11", "A111", "x"},
         5,
         false},
    };
    for (const Case& c : cases) {
        Browser browser(sampleTree(), {1600, 500});
        for (const Step& step : c.before) {
            browser.click(step.level, QString::fromLatin1(step.name));
        }
        QSignalSpy scrolled(browser.columns.get(), &DiskColumns::scrollingToNewestColumn);
        QSignalSpy changed(browser.columns.get(), &DiskColumns::pathChanged);
        browser.click(c.click.level, QString::fromLatin1(c.click.name));
        EXPECT_EQ(browser.path(), c.path) << c.name;
        EXPECT_EQ(browser.columns->columnCount(), c.columns) << c.name;
        EXPECT_EQ(scrolled.count(), c.scrolls ? 1 : 0) << c.name;
        EXPECT_EQ(changed.count(), 1) << c.name;
        // The clicked entry is highlighted in its column, by location.
        DiskColumn* clicked = browser.columns->column(c.click.level);
        ASSERT_NE(clicked, nullptr) << c.name;
        const int row = static_cast<int>(browser.names(c.click.level).indexOf(QString::fromLatin1(c.click.name)));
        EXPECT_TRUE(clicked->entries()->isSelected(row)) << c.name;
        EXPECT_EQ(browser.columns->selectedNode().name, QString::fromLatin1(c.click.name)) << c.name;
    }
}

TEST(DiskColumns, SelectingAFileStartsNoListing)
{
    Browser browser(sampleTree());
    browser.click(0, QStringLiteral("f"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(browser.map.expanded.isEmpty());
}

TEST(DiskColumns, AnUnmeasuredFolderIsMeasuringAtOnceThenListedLargestFirst)
{
    Browser browser(sampleTree());
    browser.click(0, QStringLiteral("B"));
    DiskColumn* column = browser.columns->column(1);
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->content(), DiskColumn::Content::measuring);
    EXPECT_EQ(column->placeholderText(), QStringLiteral("Measuring\u2026"));
    EXPECT_TRUE(column->isSpinning());
    // Its appear task and a second click start no second listing.
    QCoreApplication::processEvents();
    browser.click(0, QStringLiteral("B"));
    QCoreApplication::processEvents();
    EXPECT_EQ(browser.map.expanded, (QStringList{"/m/B"}));

    browser.map.finish(QStringLiteral("/m/B"),
                       {node("/m/B/small", 10, false), node("/m/B/big", 200, true), node("/m/B/same1", 10, false),
                        node("/m/B/mid", 90, false)});
    column = browser.columns->column(1);
    EXPECT_EQ(column->content(), DiskColumn::Content::entries);
    EXPECT_FALSE(column->isSpinning());
    EXPECT_EQ(browser.names(1), (QStringList{"big", "mid", "small", "same1"}));

    // Opened again later, the listing shows at once.
    browser.click(0, QStringLiteral("f"));
    browser.click(0, QStringLiteral("B"));
    EXPECT_EQ(browser.names(1), (QStringList{"big", "mid", "small", "same1"}));
    EXPECT_EQ(browser.map.expanded.size(), 1);
}

TEST(DiskColumns, AnEmptyListingShowsEmpty)
{
    Browser browser(sampleTree());
    browser.click(0, QStringLiteral("B"));
    browser.map.finish(QStringLiteral("/m/B"), {});
    EXPECT_EQ(browser.columns->column(1)->content(), DiskColumn::Content::empty);
    EXPECT_EQ(browser.columns->column(1)->placeholderText(), QStringLiteral("Empty"));
    EXPECT_FALSE(browser.columns->column(1)->isSpinning());
}

TEST(DiskColumns, ARootWithoutChildrenPassesThroughNothingToShow)
{
    Browser browser(node("/m", 0, true));
    DiskColumn* root = browser.columns->column(0);
    ASSERT_NE(root, nullptr);
    // The appear task has run once the event loop turned (Browser's constructor).
    EXPECT_EQ(browser.map.expanded, (QStringList{"/m"}));
    EXPECT_EQ(root->content(), DiskColumn::Content::measuring);
    browser.map.finish(QStringLiteral("/m"), {node("/m/only", 4, false)});
    EXPECT_EQ(browser.names(0), (QStringList{"only"}));

    DiskColumns fresh(node("/n", 0, true), browser.map.source());
    EXPECT_EQ(fresh.column(0)->content(), DiskColumn::Content::nothingToShow);
    EXPECT_EQ(fresh.column(0)->placeholderText(), QStringLiteral("Nothing to show"));
}

TEST(DiskColumns, SmallerItemsListTheFolderItselfAgainstTheirOwnSize)
{
    DiskNode root = node("/m", 1000, true, {node("/m/big", 990, true), node("/m", 10, true)});
    root.children.back().name = QStringLiteral("Smaller items");
    Browser browser(std::move(root));
    browser.click(0, QStringLiteral("Smaller items"));
    EXPECT_EQ(browser.map.expanded, (QStringList{"/m"}));
    browser.map.finish(QStringLiteral("/m"), {node("/m/big", 990, true), node("/m/a", 6, false)});
    DiskColumn* column = browser.columns->column(1);
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(browser.names(1), (QStringList{"big", "a"}));
    EXPECT_EQ(column->folder()->size, 10);
    // The root column still highlights "Smaller items" only: "big" has another location.
    EXPECT_TRUE(browser.columns->column(0)->entries()->isSelected(1));
    EXPECT_FALSE(browser.columns->column(0)->entries()->isSelected(0));
}

TEST(DiskColumns, NewestColumnScrollsIntoViewOnlyWhenTheCountChanges)
{
    Browser browser(sampleTree(), {600, 400});
    QScrollBar* bar = browser.columns->horizontalScrollBar();
    EXPECT_EQ(bar->value(), 0);
    EXPECT_FALSE(browser.columns->isScrolling());
    browser.click(0, QStringLiteral("A"));
    browser.click(1, QStringLiteral("A1"));
    QSignalSpy scrolled(browser.columns.get(), &DiskColumns::scrollingToNewestColumn);
    browser.click(2, QStringLiteral("A11"));
    ASSERT_EQ(scrolled.count(), 1);
    EXPECT_EQ(scrolled.front().front().toInt(), 4 * DiskColumns::kColumnStride - browser.columns->viewport()->width());
    waitFor([&] { return !browser.columns->isScrolling(); });
    EXPECT_EQ(bar->value(), 4 * DiskColumns::kColumnStride - browser.columns->viewport()->width());
    // The last column ends at the trailing edge.
    DiskColumn* last = browser.columns->column(3);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->geometry().right() + 1 + DiskColumns::kDividerWidth, browser.columns->viewport()->width());

    // Replacing the last column keeps the count: no scroll.
    scrolled.clear();
    browser.click(2, QStringLiteral("A11"));
    EXPECT_EQ(scrolled.count(), 0);
}

TEST(DiskColumns, TheStripsScrollBarIsAThinKnobWithoutTrackOrArrows)
{
    Browser browser(sampleTree(), {600, 400});
    browser.click(0, QStringLiteral("A"));
    browser.click(1, QStringLiteral("A1"));
    browser.click(2, QStringLiteral("A11"));
    waitFor([&] { return !browser.columns->isScrolling(); });
    auto* bar = qobject_cast<ThinScrollBar*>(browser.columns->horizontalScrollBar());
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->height(), ThinScrollBar::kThickness);
    EXPECT_EQ(browser.columns->viewport()->height(), 400 - ThinScrollBar::kThickness);
    // Scrolled to the last column, the knob sits at the trailing end.
    const QRectF knob = bar->knob();
    EXPECT_GT(knob.center().x(), bar->width() / 2.0);
    EXPECT_DOUBLE_EQ(knob.height(), ThinScrollBar::kKnobThickness);

    QImage drawn(bar->size(), QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    bar->render(&drawn, {}, {}, QWidget::DrawChildren);
    EXPECT_GT(drawn.pixelColor(knob.center().toPoint()).alpha(), 0);
    int outside = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (drawn.pixelColor(x, y).alpha() > 0
                && !knob.adjusted(-1, -1, 1, 1).contains(QPointF(x + 0.5, y + 0.5))) {
                ++outside;
            }
        }
    }
    EXPECT_EQ(outside, 0);
}

TEST(DiskColumns, AColumnBackInViewIsScrolledWhereItWas)
{
    std::vector<DiskNode> many;
    for (int i = 0; i < 200; ++i) {
        many.push_back(node(QStringLiteral("/m/e") + QString::number(i), 1000 - i, false));
    }
    many.front().isDirectory = true;
    many.front().children = {node("/m/e0/a", 5, true, {node("/m/e0/a/b", 4, true, {node("/m/e0/a/b/c", 3, true)})})};
    Motion::setReduceMotion(true);
    {
        Browser browser(node("/m", 100'000, true, std::move(many)), {600, 400});
        browser.columns->column(0)->list()->verticalScrollBar()->setValue(300);
        browser.columns->select(browser.columns->root().children.front(), 0);
        browser.columns->select(browser.columns->root().children.front().children.front(), 1);
        browser.columns->select(browser.columns->root().children.front().children.front().children.front(), 2);
        EXPECT_EQ(browser.columns->column(0), nullptr);
        browser.columns->clearPath();
        ASSERT_NE(browser.columns->column(0), nullptr);
        EXPECT_EQ(browser.columns->column(0)->list()->verticalScrollBar()->value(), 300);
    }
    Motion::setReduceMotion(std::nullopt);
}

TEST(DiskColumns, RevealOffersTheRowsLocation)
{
    Browser browser(sampleTree());
    QMenu* menu = browser.columns->column(0)->makeContextMenu(1);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().front()->text(), QStringLiteral("Reveal in Finder"));
    menu->actions().front()->trigger();
    EXPECT_EQ(browser.map.revealed, (QStringList{"/m/B"}));
    EXPECT_EQ(browser.columns->column(0)->entries()->index(1).data(Qt::ToolTipRole).toString(), QStringLiteral("/m/B"));
}

TEST(DiskColumns, KeysActOnTheCurrentRowLikeAClick)
{
    Browser browser(sampleTree());
    QListView* list = browser.columns->column(0)->list();
    list->setCurrentIndex(list->model()->index(2, 0));
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(browser.path(), (QStringList{"f"}));
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(browser.path(), (QStringList{"A"}));
}

TEST(DiskColumns, ANewRootStartsOverAtTheFirstColumn)
{
    Browser browser(sampleTree());
    browser.click(0, QStringLiteral("A"));
    QSignalSpy changed(browser.columns.get(), &DiskColumns::pathChanged);
    browser.columns->setRoot(node("/n", 5, true, {node("/n/z", 5, false)}));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(browser.columns->path().empty());
    EXPECT_EQ(browser.columns->columnCount(), 1);
    EXPECT_EQ(browser.names(0), (QStringList{"z"}));
}

TEST(DiskColumns, AListingThatGoesAwayLeavesTheColumnToListAgain)
{
    Browser browser(sampleTree());
    browser.click(0, QStringLiteral("B"));
    browser.map.finish(QStringLiteral("/m/B"), {node("/m/B/x", 1, false)});
    // A new map build empties the listings.
    browser.map.listings.clear();
    browser.columns->refresh();
    EXPECT_EQ(browser.columns->column(1)->content(), DiskColumn::Content::nothingToShow);
    // The path still holds its nodes.
    EXPECT_EQ(browser.path(), (QStringList{"B"}));
}

// A chain of 5,000 folders: the browser keeps only the columns in view, and
// nothing walks the chain.
TEST(DiskColumns, ATreeThousandsOfLevelsDeepKeepsOnlyTheColumnsInView)
{
    constexpr int depth = 5000;
    DiskNode chain = node("/d/bottom", 1, false);
    for (int level = depth; level > 0; --level) {
        DiskNode parent = node(QStringLiteral("/d/") + QString::number(level), chain.size + 1, true);
        parent.children.push_back(std::move(chain));
        chain = std::move(parent);
    }
    Motion::setReduceMotion(true);
    {
        Browser browser(std::move(chain), {900, 400});
        // Not painted: only what the browser makes counts here.
        browser.columns->hide();
        const DiskNode* cursor = &browser.columns->root();
        constexpr qsizetype inView = 900 / DiskColumns::kColumnStride + 2;
        qsizetype most = 0;
        // One selection per turn of the event loop, as clicks come.
        for (int level = 0; !cursor->children.empty(); ++level) {
            cursor = &cursor->children.front();
            browser.columns->select(*cursor, level);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
            most = std::max(most, browser.columns->findChildren<DiskColumn*>().size());
        }
        EXPECT_EQ(browser.columns->columnCount(), depth);
        EXPECT_EQ(browser.path().size(), depth);
        EXPECT_LE(most, inView);
        // The last column, the deepest folder's, is in view with its file selected.
        EXPECT_EQ(browser.columns->horizontalScrollBar()->value(), browser.columns->horizontalScrollBar()->maximum());
        DiskColumn* last = browser.columns->column(depth - 1);
        ASSERT_NE(last, nullptr);
        EXPECT_EQ(browser.names(depth - 1), (QStringList{"bottom"}));
        EXPECT_TRUE(last->entries()->isSelected(0));
        // Back to the top: one column again.
        browser.columns->select(browser.columns->root().children.front(), 0);
        EXPECT_EQ(browser.columns->columnCount(), 2);
    }
    Motion::setReduceMotion(std::nullopt);
}

// With the application model and the machine's own listing -----------------

namespace {

// A model whose listings are the real ones, counted, each waiting at the
// gate the test holds.
struct ListingModel {
    MemoryDefaults defaults;
    std::shared_ptr<std::atomic<int>> listed = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<test::Gate> gate = std::make_shared<test::Gate>();
    std::shared_ptr<BackgroundRunner> runner = std::make_shared<BackgroundRunner>(4);
    std::unique_ptr<AppModel> model;

    ListingModel()
    {
        ModelEngine engine = test::quietEngine();
        engine.listDirectory = [listed = listed, gate = gate, real = ModelEngine::real().listDirectory](
                                   const QString& folder, const ModelEngine::CancelTest& isCancelled) {
            ++*listed;
            gate->pass();
            return real(folder, isCancelled);
        };
        AppModel::Setup setup;
        setup.engine = std::move(engine);
        setup.updateConfiguration = QuorvaneConfiguration(QStringLiteral("harborlite"), QUrl("http://127.0.0.1:9"));
        setup.bundleInformation = {};
        setup.runner = runner;
        setup.scheduleTick = [](QObject*, double, std::function<void()>) {};
        model = std::make_unique<AppModel>(defaults, std::move(setup));
    }
    ~ListingModel()
    {
        gate->open();
        model.reset();
        runner->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    DiskMap& map() const { return model->diskMap(); }

    DiskColumns::Source source()
    {
        return {[this]() -> const DiskColumns::Listings& { return map().expandedChildren(); },
                [this]() -> const DiskColumns::Locations& { return map().expandingDirectories(); },
                [this](const DiskNode& folder) { map().expandChildren(folder); }, [](const QString&) {}};
    }

    std::unique_ptr<DiskColumns> browse(DiskNode root)
    {
        auto columns = std::make_unique<DiskColumns>(std::move(root), source());
        for (auto changed : {&DiskMap::expandedChildrenChanged, &DiskMap::expandingDirectoriesChanged}) {
            QObject::connect(&map(), changed, columns.get(), &DiskColumns::refresh);
        }
        columns->resize(1200, 400);
        columns->show();
        return columns;
    }
};

QStringList shownNames(DiskColumn* column)
{
    QStringList names;
    for (int row = 0; column != nullptr && row < column->entries()->rowCount(); ++row) {
        names.append(column->entries()->index(row).data().toString());
    }
    return names;
}

} // namespace

TEST(DiskColumnsWithModel, AppearTaskAndSelectionStartOneListing)
{
    test::FixtureTree tree;
    tree.file(QStringLiteral("map/folder/big"), 40'000);
    tree.file(QStringLiteral("map/folder/small"), 5'000);
    ListingModel listing;
    const QString folder = tree.path(QStringLiteral("map/folder"));
    auto columns = listing.browse(node(tree.path(QStringLiteral("map")), 50'000, true, {node(folder, 45'000, true)}));
    columns->select(columns->root().children.front(), 0);
    ASSERT_EQ(columns->column(1)->content(), DiskColumn::Content::measuring);
    QCoreApplication::processEvents();
    columns->select(columns->root().children.front(), 0);
    listing.gate->open();
    waitFor([&] { return listing.map().expandedChildren().contains(folder); });
    QCoreApplication::processEvents();
    EXPECT_EQ(listing.listed->load(), 1);
    EXPECT_EQ(shownNames(columns->column(1)), (QStringList{"big", "small"}));
}

TEST(DiskColumnsWithModel, AFolderGoneOrUnreadableSinceTheMapShowsEmpty)
{
    test::asOrdinaryUser([&] {
        test::FixtureTree tree;
        tree.file(QStringLiteral("map/gone/file"), 4'000);
        tree.file(QStringLiteral("map/replaced/file"), 4'000);
        tree.file(QStringLiteral("map/locked/file"), 4'000);
        const QString gone = tree.path(QStringLiteral("map/gone"));
        const QString replaced = tree.path(QStringLiteral("map/replaced"));
        const QString locked = tree.path(QStringLiteral("map/locked"));
        ListingModel listing;
        listing.gate->open();
        auto columns =
            listing.browse(node(tree.path(QStringLiteral("map")), 13'000, true,
                                {node(gone, 4'500, true), node(replaced, 4'400, true), node(locked, 4'000, true)}));
        // Between measuring and expanding: one folder goes, one becomes a file,
        // one is locked.
        ASSERT_TRUE(QDir(gone).removeRecursively());
        ASSERT_TRUE(QDir(replaced).removeRecursively());
        tree.file(QStringLiteral("map/replaced"), 4'000);
        ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);
        for (std::size_t entry = 0; entry < 3; ++entry) {
            columns->select(columns->root().children[entry], 0);
            const QString url = columns->selectedNode().url;
            waitFor([&] { return listing.map().expandedChildren().contains(url); });
            QCoreApplication::processEvents();
            EXPECT_EQ(columns->column(1)->content(), DiskColumn::Content::empty) << url.toStdString();
        }
    });
}

TEST(DiskColumnsWithModel, OddNamesShowOnOneLineAndUndecodableBytesAsReplacements)
{
    test::FixtureTree tree;
    tree.file(QStringLiteral("map/odd/two\nlines"), 8'000);
    tree.file(QStringLiteral("map/odd/plain"), 4'000);
    ASSERT_TRUE(test::writeRawName(tree.path(QStringLiteral("map/odd")), test::invalidUtf8Name("bad", ".bin"),
                                   QByteArray(8'000, 'x')));
    const QString odd = tree.path(QStringLiteral("map/odd"));
    ListingModel listing;
    listing.gate->open();
    auto columns = listing.browse(node(tree.path(QStringLiteral("map")), 20'000, true, {node(odd, 20'000, true)}));
    columns->select(columns->root().children.front(), 0);
    waitFor([&] { return listing.map().expandedChildren().contains(odd); });
    QCoreApplication::processEvents();
    EXPECT_EQ(shownNames(columns->column(1)), (QStringList{"bad\uFFFD\uFFFD.bin", "two\u21B5lines", "plain"}));
    // The rows keep the paths as the disk has them.
    const DiskEntryModel* entries = columns->column(1)->entries();
    EXPECT_EQ(platform::pathBytes(entries->node(0)->url), QFile::encodeName(odd) + "/bad\xff\xfe.bin");
    EXPECT_EQ(entries->index(1).data(Qt::ToolTipRole).toString(), odd + QStringLiteral("/two\nlines"));
}

// Looks ----------------------------------------------------------------------

TEST(DiskColumnsLook, WritesTheBrowserLightAndDark)
{
    std::vector<DiskNode> photos;
    for (int i = 0; i < 40; ++i) {
        photos.push_back(
            node(QStringLiteral("/home/ann/Pictures/2024/IMG_") + QString::number(4000 + i) + QStringLiteral(".heic"),
                 3'000'000 - i * 60'000, false));
    }
    std::vector<DiskNode> pictures{
        node("/home/ann/Pictures/2024", 90'000'000, true, std::move(photos)),
        node("/home/ann/Pictures/An exceptionally long folder name that cannot fit", 30'000'000, true),
        node("/home/ann/Pictures/two\nlines.png", 2'000'000, false), node("/home/ann/Pictures/empty.txt", 0, false)};
    std::vector<DiskNode> home{node("/home/ann/Pictures", 122'000'000, true, std::move(pictures)),
                               node("/home/ann/Videos", 80'000'000, true), node("/home/ann/.cache", 20'000'000, true),
                               node("/home/ann/notes.md", 4'000, false)};
    DiskNode root = node("/home/ann", 222'004'000, true, std::move(home));
    FakeMap map;
    map.listing.insert(QStringLiteral("/home/ann/Videos"));
    const QStringList files = test::renderScreens(
        [&]() -> QWidget* {
            auto* columns = new DiskColumns(root, map.source());
            columns->select(columns->root().children[0], 0);
            columns->select(columns->root().children[0].children[0], 1);
            columns->select(columns->root().children[0].children[0].children[2], 2);
            return columns;
        },
        QStringLiteral("disk-columns"), {1000, 520});
    EXPECT_EQ(files.size(), 2);
    const QStringList measuring = test::renderScreens(
        [&]() -> QWidget* {
            auto* columns = new DiskColumns(root, map.source());
            columns->select(columns->root().children[1], 0);
            return columns;
        },
        QStringLiteral("disk-columns-measuring"), {700, 300});
    EXPECT_EQ(measuring.size(), 2);
}
