#include "PaintRecorder.h"
#include "ResultsSamples.h"
#include "ReviewModelFixture.h"
#include "support/ImageDifference.h"

#include "ui/components/AuroraBackground.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenFrame.h"
#include "ui/components/StatusPill.h"
#include "ui/results/CategorySectionHeader.h"
#include "ui/results/ResultsList.h"
#include "ui/results/ResultsModel.h"
#include "ui/results/ResultsPresentation.h"
#include "ui/theme/SoftShadow.h"
#include "ui/theme/Symbols.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QDir>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace harborlite;
using test::sampleGroup;
using test::sampleItem;
using test::sampleItems;
using test::sampleResult;

namespace {

// A model with scans that return what each test sets, and the reveals the list asked for.
class ResultsListTest : public ::testing::Test {
protected:
    test::ReviewModelFixture fixture;
    ScanSession& model = fixture.scans();
    QList<QStringList> revealed;
    ScreenServices services{
        .reveal = [this](const QStringList& paths) { revealed.append(paths); },
        .iconForFile = [](const QString&) { return QIcon(); },
        .whenIconsArrive = {},
    };

    // The list inside a screen's scrolling column, as the screens show it.
    ResultsList* makeList(QList<ScanCategory> categories, int width = 900)
    {
        frame_ = std::make_unique<ScreenFrame>();
        auto* list = new ResultsList(model, std::move(categories), services);
        tester_ = std::make_unique<QAbstractItemModelTester>(list->resultsModel(),
                                                             QAbstractItemModelTester::FailureReportingMode::Fatal);
        frame_->addWidget(list);
        frame_->resize(width, 700);
        frame_->show();
        settle(*list);
        return list;
    }

    // Lets the list follow the model and the column lay it out at its new height.
    static void settle(ResultsList&) { test::settleLayouts(); }

    const ScanGroup& groupAt(ScanCategory category, int index) { return model.results().at(category).groups[index]; }

    void click(ResultsList& list, const QModelIndex& index, ResultsList::Target target)
    {
        const QRect rect = list.targetRect(index, target);
        ASSERT_FALSE(rect.isEmpty());
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rect.center());
        settle(list);
    }

    void key(ResultsList& list, Qt::Key pressed)
    {
        QTest::keyClick(&list, pressed);
        settle(list);
    }

    int rowsOfKind(const ResultsList& list, ResultsModel::Kind kind)
    {
        int count = 0;
        for (int row = 0; row < list.resultsModel()->rowCount(); ++row) {
            count += list.resultsModel()->row(row).kind == kind ? 1 : 0;
        }
        return count;
    }

private:
    std::unique_ptr<ScreenFrame> frame_;
    std::unique_ptr<QAbstractItemModelTester> tester_;
};

using Kind = ResultsModel::Kind;
using Section = ResultsPresentation::Section;
using State = ScanGroup::SelectionState;

TEST(ResultsPresentation, SectionStatesAndTexts)
{
    const CategoryResult empty = sampleResult(ScanCategory::trash, {sampleGroup(QStringLiteral("Trash"), {})});
    const CategoryResult zero = sampleResult(
        ScanCategory::trash, {sampleGroup(QStringLiteral("Trash"), sampleItems(QStringLiteral("z"), 3, 0, 3))});
    const CategoryResult full = sampleResult(
        ScanCategory::trash, {sampleGroup(QStringLiteral("Trash"), sampleItems(QStringLiteral("f"), 3, 1000000, 0))});
    const ScanProgress starting{0, QString::fromUtf8("Starting\xE2\x80\xA6"), 0};
    struct Case {
        const char* name;
        const CategoryResult* result;
        bool running;
        const ScanProgress* progress;
        Section expected;
    };
    const QString blurbText = blurb(ScanCategory::trash);
    const Case cases[] = {
        {"never scanned",
         nullptr,
         false,
         nullptr,
         {Section::Cluster::idle, "", "", PaletteRole::accent, std::nullopt, "Scan", true, Section::Body::text,
          blurbText, false}},
        {"first scan starting",
         nullptr,
         true,
         &starting,
         {Section::Cluster::running, QString::fromUtf8("Starting\xE2\x80\xA6"), "", PaletteRole::accent, std::nullopt,
          "", false, Section::Body::nothing, "", false}},
        {"running without progress",
         nullptr,
         true,
         nullptr,
         {Section::Cluster::running, QString::fromUtf8("Scanning\xE2\x80\xA6"), "", PaletteRole::accent, std::nullopt,
          "", false, Section::Body::nothing, "", false}},
        {"found nothing",
         &empty,
         false,
         nullptr,
         {Section::Cluster::result, "", "Clean", PaletteRole::accent, QString("checkmark"), "Rescan", false,
          Section::Body::text, "Nothing to remove here.", true}},
        {"rescanning nothing",
         &empty,
         true,
         &starting,
         {Section::Cluster::running, QString::fromUtf8("Starting\xE2\x80\xA6"), "", PaletteRole::accent, std::nullopt,
          "", false, Section::Body::text, QString::fromUtf8("Looking\xE2\x80\xA6"), true}},
        {"all sizes zero",
         &zero,
         false,
         nullptr,
         {Section::Cluster::result, "", "0 KB", PaletteRole::accentDeep, std::nullopt, "Rescan", false,
          Section::Body::groups, "", false}},
        {"rescanning a result",
         &full,
         true,
         &starting,
         {Section::Cluster::running, QString::fromUtf8("Starting\xE2\x80\xA6"), "", PaletteRole::accent, std::nullopt,
          "", false, Section::Body::groups, "", false}},
        {"found something",
         &full,
         false,
         nullptr,
         {Section::Cluster::result, "", "3 MB", PaletteRole::accentDeep, std::nullopt, "Rescan", false,
          Section::Body::groups, "", false}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResultsPresentation::section(ScanCategory::trash, c.result, c.running, c.progress), c.expected)
            << c.name;
    }
}

TEST(ResultsPresentation, GroupHeaders)
{
    QList<ScanItem> partial = sampleItems(QStringLiteral("p"), 4, 500, 1);
    struct Case {
        const char* name;
        ScanGroup group;
        ResultsPresentation::GroupHeader expected;
    };
    const Case cases[] = {
        {"empty", sampleGroup(QStringLiteral("g"), {}), {State::none, false, "0", "0 KB"}},
        {"empty opt-in", sampleGroup(QStringLiteral("g"), {}, false, true), {State::none, true, "0", "0 KB"}},
        {"opt-in, none selected",
         sampleGroup(QStringLiteral("g"), sampleItems(QStringLiteral("o"), 2, 1000, 0), false, true),
         {State::none, true, "2", "2 KB"}},
        {"opt-in, one selected",
         sampleGroup(QStringLiteral("g"), partial, false, true),
         {State::partial, false, "4", "2 KB"}},
        {"all selected",
         sampleGroup(QStringLiteral("g"), sampleItems(QStringLiteral("a"), 3, 1000, 3)),
         {State::all, false, "3", "3 KB"}},
        {"sizes zero",
         sampleGroup(QStringLiteral("g"), sampleItems(QStringLiteral("z"), 2, 0, 2)),
         {State::all, false, "2", "0 KB"}},
        {"counts ungrouped",
         sampleGroup(QStringLiteral("g"), sampleItems(QStringLiteral("m"), 1000, 1, 0)),
         {State::none, false, "1000", "1 KB"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResultsPresentation::groupHeader(c.group), c.expected) << c.name;
    }
}

TEST(ResultsPresentation, PagingOfAThousandItemsAndTheEdges)
{
    using Paging = ResultsPresentation::Paging;
    const std::tuple<int, int, std::optional<Paging>> cases[] = {
        {40, 40, std::nullopt},
        {12, 40, std::nullopt},
        {0, 40, std::nullopt},
        {41, 40, Paging{1, 1, "Show 1 more of 1"}},
        {1000, 40, Paging{200, 960, "Show 200 more of 960"}},
        {1000, 240, Paging{200, 760, "Show 200 more of 760"}},
        {1000, 840, Paging{160, 160, "Show 160 more of 160"}},
        {1000, 1040, std::nullopt},
        {100000, 40, Paging{200, 99960, "Show 200 more of 99960"}},
    };
    for (const auto& [count, visible, expected] : cases) {
        EXPECT_EQ(ResultsPresentation::paging(count, visible), expected) << count << " " << visible;
    }
}

TEST_F(ResultsListTest, NeverScannedSectionsShowTheirBlurbAndScan)
{
    ResultsList* list = makeList({ScanCategory::systemJunk, ScanCategory::trash});
    ASSERT_EQ(list->resultsModel()->rowCount(), 4);
    EXPECT_EQ(list->resultsModel()->data(list->resultsModel()->index(1)).toString(), blurb(ScanCategory::systemJunk));
    EXPECT_EQ(list->resultsModel()->data(list->resultsModel()->index(3)).toString(), blurb(ScanCategory::trash));
    CategorySectionHeader* header = list->sectionHeader(ScanCategory::trash);
    ASSERT_NE(header, nullptr);
    ASSERT_NE(header->visibleButton(), nullptr);
    EXPECT_EQ(header->visibleButton()->text(), "Scan");
    EXPECT_TRUE(header->visibleButton()->isProminent());
    EXPECT_TRUE(header->visibleButton()->isVisible());
    EXPECT_EQ(header->pill(), nullptr);
}

TEST_F(ResultsListTest, ScanFromASectionRunsThenShowsTheResult)
{
    fixture.script.hold(ScanCategory::trash);
    fixture.script.setItemSize(2000000);
    ResultsList* list = makeList({ScanCategory::trash});
    CategorySectionHeader* header = list->sectionHeader(ScanCategory::trash);
    QTest::mouseClick(header->visibleButton(), Qt::LeftButton);
    settle(*list);
    EXPECT_TRUE(model.runningCategories().contains(ScanCategory::trash));
    EXPECT_TRUE(header->isSpinning());
    EXPECT_EQ(header->visibleButton(), nullptr);
    EXPECT_EQ(header->messageLabel()->text(), QString::fromUtf8("Starting\xE2\x80\xA6"));
    // Nothing below the header while the first scan runs.
    EXPECT_EQ(list->resultsModel()->rowCount(), 1);

    fixture.script.release(ScanCategory::trash);
    test::waitFor([&] { return !model.runningCategories().contains(ScanCategory::trash); });
    settle(*list);
    EXPECT_FALSE(header->isSpinning());
    ASSERT_NE(header->visibleButton(), nullptr);
    EXPECT_EQ(header->visibleButton()->text(), "Rescan");
    EXPECT_FALSE(header->visibleButton()->isProminent());
    ASSERT_NE(header->pill(), nullptr);
    EXPECT_EQ(header->pill()->text(), "2 MB");
    EXPECT_EQ(rowsOfKind(*list, Kind::groupHeader), 1);
}

TEST_F(ResultsListTest, AnEmptyResultIsCleanAndLooksAgainWhileRescanning)
{
    fixture.load(sampleResult(ScanCategory::trash, {}));
    ResultsList* list = makeList({ScanCategory::trash});
    CategorySectionHeader* header = list->sectionHeader(ScanCategory::trash);
    ASSERT_NE(header->pill(), nullptr);
    EXPECT_EQ(header->pill()->text(), "Clean");
    EXPECT_EQ(header->pill()->symbol(), QString("checkmark"));
    EXPECT_EQ(list->resultsModel()->data(list->resultsModel()->index(1)).toString(), "Nothing to remove here.");

    fixture.forget(ScanCategory::trash);
    fixture.script.hold(ScanCategory::trash);
    QTest::mouseClick(header->visibleButton(), Qt::LeftButton);
    settle(*list);
    EXPECT_TRUE(header->isSpinning());
    EXPECT_FALSE(header->pill()->isVisible());
    EXPECT_EQ(list->resultsModel()->data(list->resultsModel()->index(1)).toString(),
              QString::fromUtf8("Looking\xE2\x80\xA6"));
}

class ResultsListSelection : public ResultsListTest {
protected:
    void SetUp() override
    {
        fixture.load(sampleResult(
            ScanCategory::systemJunk,
            {sampleGroup(QStringLiteral("Caches"), sampleItems(QStringLiteral("c"), 3, 1000, 3), true),
             sampleGroup(QStringLiteral("Logs"), sampleItems(QStringLiteral("l"), 3, 1000, 1)),
             sampleGroup(QStringLiteral("Extras"), sampleItems(QStringLiteral("e"), 2, 1000, 0), false, true),
             sampleGroup(QStringLiteral("Empty"), {}, false, true)}));
        list = makeList({ScanCategory::systemJunk});
    }

    QModelIndex group(int index)
    {
        return list->groupIndex(ScanCategory::systemJunk, groupAt(ScanCategory::systemJunk, index).id);
    }

    ResultsList* list = nullptr;
};

TEST_F(ResultsListSelection, GroupBoxesSelectAllUnlessAllAreSelected)
{
    struct Case {
        int group;
        State before;
        State after;
    };
    // All → none, partial → all (not none), none → all, empty stays none.
    for (const Case& c : {Case{0, State::all, State::none}, Case{1, State::partial, State::all},
                          Case{2, State::none, State::all}, Case{3, State::none, State::none}}) {
        EXPECT_EQ(groupAt(ScanCategory::systemJunk, c.group).selectionState(), c.before) << c.group;
        const bool expanded = groupAt(ScanCategory::systemJunk, c.group).isExpanded;
        click(*list, group(c.group), ResultsList::Target::box);
        EXPECT_EQ(groupAt(ScanCategory::systemJunk, c.group).selectionState(), c.after) << c.group;
        // The box never expands or collapses its group.
        EXPECT_EQ(groupAt(ScanCategory::systemJunk, c.group).isExpanded, expanded) << c.group;
    }
}

TEST_F(ResultsListSelection, ItemBoxesFlipOneItemAndTheReviewPillFollows)
{
    click(*list, group(2), ResultsList::Target::chevron);
    EXPECT_TRUE(ResultsPresentation::groupHeader(groupAt(ScanCategory::systemJunk, 2)).showsReview);
    const ScanItem first = groupAt(ScanCategory::systemJunk, 2).items[0];
    click(*list, list->itemIndex(ScanCategory::systemJunk, first.id), ResultsList::Target::box);
    EXPECT_TRUE(groupAt(ScanCategory::systemJunk, 2).items[0].isSelected);
    EXPECT_FALSE(groupAt(ScanCategory::systemJunk, 2).items[1].isSelected);
    EXPECT_EQ(groupAt(ScanCategory::systemJunk, 2).selectionState(), State::partial);
    EXPECT_FALSE(ResultsPresentation::groupHeader(groupAt(ScanCategory::systemJunk, 2)).showsReview);
    click(*list, list->itemIndex(ScanCategory::systemJunk, first.id), ResultsList::Target::box);
    EXPECT_FALSE(groupAt(ScanCategory::systemJunk, 2).items[0].isSelected);
}

TEST_F(ResultsListSelection, BoxesEditTheStoredItemsInPlace)
{
    // A copy of the items would cost a click as much as the group is long.
    const auto items = [&](int index) {
        return std::as_const(groupAt(ScanCategory::systemJunk, index).items).constData();
    };
    // One edit each first, so no list is still shared with what the scan returned.
    for (int index : {0, 1}) {
        const ScanItem item = groupAt(ScanCategory::systemJunk, index).items[0];
        model.toggleItem(item, ScanCategory::systemJunk);
        model.toggleItem(item, ScanCategory::systemJunk);
    }
    const ScanItem* caches = items(0);
    const ScanItem* logs = items(1);
    click(*list, group(0), ResultsList::Target::box);
    click(*list, list->itemIndex(ScanCategory::systemJunk, groupAt(ScanCategory::systemJunk, 0).items[1].id),
          ResultsList::Target::box);
    click(*list, group(1), ResultsList::Target::box);
    EXPECT_EQ(groupAt(ScanCategory::systemJunk, 0).selectionState(), State::partial);
    EXPECT_EQ(groupAt(ScanCategory::systemJunk, 1).selectionState(), State::all);
    EXPECT_EQ(items(0), caches);
    EXPECT_EQ(items(1), logs);
}

TEST_F(ResultsListSelection, SelectionChangesRepaintWithoutMovingRows)
{
    QSignalSpy inserted(list->resultsModel(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(list->resultsModel(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(list->resultsModel(), &QAbstractItemModel::modelReset);
    // Nor are the other rows told to read the model again.
    QSignalSpy changed(list->resultsModel(), &QAbstractItemModel::dataChanged);
    QSignalSpy laidOut(list->resultsModel(), &QAbstractItemModel::layoutChanged);
    const QModelIndex item =
        list->itemIndex(ScanCategory::systemJunk, groupAt(ScanCategory::systemJunk, 0).items[1].id);
    list->setCurrentIndex(item);
    click(*list, item, ResultsList::Target::box);
    model.toggleGroup(groupAt(ScanCategory::systemJunk, 1), ScanCategory::systemJunk);
    settle(*list);
    EXPECT_EQ(groupAt(ScanCategory::systemJunk, 1).selectionState(), State::all);
    EXPECT_EQ(inserted.count() + removed.count() + reset.count(), 0);
    EXPECT_EQ(changed.count() + laidOut.count(), 0);
    EXPECT_EQ(list->currentIndex().row(), item.row());
}

TEST_F(ResultsListSelection, HeaderAndChevronEachExpandOnce)
{
    const int before = list->resultsModel()->rowCount();
    QSignalSpy inserted(list->resultsModel(), &QAbstractItemModel::rowsInserted);
    click(*list, group(1), ResultsList::Target::header);
    EXPECT_TRUE(groupAt(ScanCategory::systemJunk, 1).isExpanded);
    EXPECT_EQ(list->resultsModel()->rowCount(), before + 3);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][2].toInt() - inserted[0][1].toInt() + 1, 3);

    click(*list, group(1), ResultsList::Target::chevron);
    EXPECT_FALSE(groupAt(ScanCategory::systemJunk, 1).isExpanded);
    EXPECT_EQ(list->resultsModel()->rowCount(), before);
    // An empty group opens onto nothing.
    click(*list, group(3), ResultsList::Target::header);
    EXPECT_TRUE(groupAt(ScanCategory::systemJunk, 3).isExpanded);
    EXPECT_EQ(list->resultsModel()->rowCount(), before);
}

TEST_F(ResultsListSelection, RevealGoesToTheFileManager)
{
    const ScanItem item = groupAt(ScanCategory::systemJunk, 0).items[2];
    click(*list, list->itemIndex(ScanCategory::systemJunk, item.id), ResultsList::Target::reveal);
    ASSERT_EQ(revealed.size(), 1);
    EXPECT_EQ(revealed[0], QStringList{item.url});
    EXPECT_TRUE(groupAt(ScanCategory::systemJunk, 0).items[2].isSelected);
    EXPECT_EQ(
        list->toolTipAt(
            list->targetRect(list->itemIndex(ScanCategory::systemJunk, item.id), ResultsList::Target::reveal).center()),
        "Reveal in Finder");
}

TEST_F(ResultsListSelection, KeyboardMovesTogglesAndExpands)
{
    list->setFocus();
    key(*list, Qt::Key_Home);
    EXPECT_EQ(list->currentIndex(), group(0));
    key(*list, Qt::Key_Down);
    const QUuid firstItem = groupAt(ScanCategory::systemJunk, 0).items[0].id;
    EXPECT_EQ(list->currentIndex(), list->itemIndex(ScanCategory::systemJunk, firstItem));
    key(*list, Qt::Key_Space);
    EXPECT_FALSE(groupAt(ScanCategory::systemJunk, 0).items[0].isSelected);
    key(*list, Qt::Key_Left);
    EXPECT_EQ(list->currentIndex(), group(0));
    key(*list, Qt::Key_Return);
    EXPECT_FALSE(groupAt(ScanCategory::systemJunk, 0).isExpanded);
    key(*list, Qt::Key_Down);
    EXPECT_EQ(list->currentIndex(), group(1));
    key(*list, Qt::Key_Space);
    EXPECT_EQ(groupAt(ScanCategory::systemJunk, 1).selectionState(), State::all);
    key(*list, Qt::Key_Enter);
    EXPECT_TRUE(groupAt(ScanCategory::systemJunk, 1).isExpanded);
    key(*list, Qt::Key_End);
    EXPECT_EQ(list->currentIndex(), group(3));
    key(*list, Qt::Key_Up);
    key(*list, Qt::Key_Up);
    EXPECT_EQ(list->currentIndex(),
              list->itemIndex(ScanCategory::systemJunk, groupAt(ScanCategory::systemJunk, 1).items[2].id));
    // Past the last row the cursor stays.
    key(*list, Qt::Key_End);
    key(*list, Qt::Key_Down);
    EXPECT_EQ(list->currentIndex(), group(3));
}

// What a screen reader reads of the rows: each by its title, the group and
// item rows with their boxes, as they are after a toggle.
TEST_F(ResultsListSelection, AssistiveToolsReadEachRowsTitleAndBox)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(list);
    ASSERT_NE(face, nullptr);
    QAccessibleTableInterface* table = face->tableInterface();
    ASSERT_NE(table, nullptr);
    const auto cell = [&](const QModelIndex& index) { return table->cellAt(index.row(), 0); };
    const QModelIndex item =
        list->itemIndex(ScanCategory::systemJunk, groupAt(ScanCategory::systemJunk, 0).items[1].id);
    struct Case {
        QModelIndex index;
        QString name;
        bool checkable;
        bool checked;
    };
    const Case cases[] = {
        {list->sectionIndex(ScanCategory::systemJunk), title(ScanCategory::systemJunk), false, false},
        {group(0), "Caches", true, true},
        {item, "c 1", true, true},
        {group(1), "Logs", true, false},
        {group(2), "Extras", true, false},
    };
    for (const Case& c : cases) {
        QAccessibleInterface* row = cell(c.index);
        ASSERT_NE(row, nullptr) << c.name.toStdString();
        EXPECT_EQ(row->text(QAccessible::Name), c.name);
        EXPECT_EQ(row->state().checkable, c.checkable) << c.name.toStdString();
        EXPECT_EQ(row->state().checked, c.checked) << c.name.toStdString();
    }

    click(*list, item, ResultsList::Target::box);
    EXPECT_FALSE(cell(item)->state().checked);
    EXPECT_FALSE(cell(group(0))->state().checked);
    list->setFocus();
    list->setCurrentIndex(group(1));
    key(*list, Qt::Key_Space);
    EXPECT_TRUE(cell(group(1))->state().checked);
}

TEST_F(ResultsListTest, TheReviewTriangleExplainsItself)
{
    QList<ScanItem> items = sampleItems(QStringLiteral("r"), 2, 1000, 0);
    items[0].requiresReview = true;
    fixture.load(sampleResult(ScanCategory::largeAndOld, {sampleGroup(QStringLiteral("Big"), items, true)}));
    ResultsList* list = makeList({ScanCategory::largeAndOld});
    const QModelIndex flagged =
        list->itemIndex(ScanCategory::largeAndOld, groupAt(ScanCategory::largeAndOld, 0).items[0].id);
    const QModelIndex plain =
        list->itemIndex(ScanCategory::largeAndOld, groupAt(ScanCategory::largeAndOld, 0).items[1].id);
    const QRect warning = list->targetRect(flagged, ResultsList::Target::warning);
    ASSERT_FALSE(warning.isEmpty());
    EXPECT_EQ(list->toolTipAt(warning.center()), "Check this one before removing it.");
    EXPECT_TRUE(list->targetRect(plain, ResultsList::Target::warning).isEmpty());
    // The size column lines up whether or not a row has the triangle.
    EXPECT_EQ(list->targetRect(flagged, ResultsList::Target::reveal).left(),
              list->targetRect(plain, ResultsList::Target::reveal).left());
}

TEST_F(ResultsListTest, PagingShowsFortyThenTwoHundredMoreAndKeepsItsCount)
{
    fixture.load(
        sampleResult(ScanCategory::largeAndOld,
                     {sampleGroup(QStringLiteral("Big"), sampleItems(QStringLiteral("b"), 1000, 10, 0), true)}));
    ResultsList* list = makeList({ScanCategory::largeAndOld});
    const QUuid id = groupAt(ScanCategory::largeAndOld, 0).id;
    EXPECT_EQ(rowsOfKind(*list, Kind::item), 40);
    const QModelIndex more = list->showMoreIndex(ScanCategory::largeAndOld, id);
    ASSERT_TRUE(more.isValid());
    EXPECT_EQ(more.data().toString(), "Show 200 more of 960");

    click(*list, more, ResultsList::Target::showMore);
    EXPECT_EQ(rowsOfKind(*list, Kind::item), 240);
    EXPECT_EQ(list->showMoreIndex(ScanCategory::largeAndOld, id).data().toString(), "Show 200 more of 760");

    // Collapsing and expanding again keeps the page size.
    click(*list, list->groupIndex(ScanCategory::largeAndOld, id), ResultsList::Target::chevron);
    EXPECT_EQ(rowsOfKind(*list, Kind::item), 0);
    click(*list, list->groupIndex(ScanCategory::largeAndOld, id), ResultsList::Target::chevron);
    EXPECT_EQ(rowsOfKind(*list, Kind::item), 240);

    list->setFocus();
    list->setCurrentIndex(list->showMoreIndex(ScanCategory::largeAndOld, id));
    for (int page = 0; page < 3; ++page) {
        key(*list, Qt::Key_Return);
    }
    EXPECT_EQ(rowsOfKind(*list, Kind::item), 840);
    EXPECT_EQ(list->showMoreIndex(ScanCategory::largeAndOld, id).data().toString(), "Show 160 more of 160");
    key(*list, Qt::Key_Space);
    EXPECT_EQ(rowsOfKind(*list, Kind::item), 1000);
    EXPECT_FALSE(list->showMoreIndex(ScanCategory::largeAndOld, id).isValid());

    // The group of a new result starts again at 40.
    fixture.load(
        sampleResult(ScanCategory::largeAndOld,
                     {sampleGroup(QStringLiteral("Big"), sampleItems(QStringLiteral("n"), 1000, 10, 0), true)}));
    settle(*list);
    EXPECT_EQ(rowsOfKind(*list, Kind::item), 40);
    EXPECT_EQ(list->visibleCount(groupAt(ScanCategory::largeAndOld, 0).id), 40);
}

TEST_F(ResultsListTest, ARescanKeepsTheOldGroupsInteractive)
{
    fixture.load(
        sampleResult(ScanCategory::trash,
                     {sampleGroup(QStringLiteral("Trash"), sampleItems(QStringLiteral("t"), 2, 1000, 2), true)}));
    ResultsList* list = makeList({ScanCategory::trash});
    fixture.forget(ScanCategory::trash);
    fixture.script.hold(ScanCategory::trash);
    QTest::mouseClick(list->sectionHeader(ScanCategory::trash)->visibleButton(), Qt::LeftButton);
    settle(*list);
    EXPECT_TRUE(list->sectionHeader(ScanCategory::trash)->isSpinning());
    const ScanItem item = groupAt(ScanCategory::trash, 0).items[0];
    click(*list, list->itemIndex(ScanCategory::trash, item.id), ResultsList::Target::box);
    EXPECT_FALSE(groupAt(ScanCategory::trash, 0).items[0].isSelected);
    fixture.script.release(ScanCategory::trash);
    test::waitFor([&] { return !model.runningCategories().contains(ScanCategory::trash); });
    settle(*list);
    EXPECT_FALSE(list->itemIndex(ScanCategory::trash, item.id).isValid());
    EXPECT_EQ(rowsOfKind(*list, Kind::groupHeader), 1);
}

TEST_F(ResultsListTest, LongGroupTitlesWrapAndTheirRowsFollowTheWidth)
{
    const QString longTitle = QStringLiteral("org.example.an-application-with-a-remarkably-long-identifier that "
                                             "goes on past any column width and further still, word after word");
    fixture.load(sampleResult(ScanCategory::leftovers,
                              {sampleGroup(QStringLiteral("Short"), sampleItems(QStringLiteral("s"), 2, 1000, 2)),
                               sampleGroup(longTitle, sampleItems(QStringLiteral("l"), 2, 1000, 2))}));
    ResultsList* list = makeList({ScanCategory::leftovers}, 520);
    const QModelIndex shortRow = list->groupIndex(ScanCategory::leftovers, groupAt(ScanCategory::leftovers, 0).id);
    const QModelIndex longRow = list->groupIndex(ScanCategory::leftovers, groupAt(ScanCategory::leftovers, 1).id);
    const int oneLine = list->visualRect(shortRow).height();
    ASSERT_GT(oneLine, 0);
    // Measured when first painted, then laid out again at their height.
    test::waitFor([&] { return list->visualRect(longRow).height() > oneLine; });
    const int narrow = list->visualRect(longRow).height();
    EXPECT_GE(narrow, oneLine + 2 * QFontMetrics(list->font()).height());
    // The list is as tall as its rows, so the screen scrolls over all of them.
    EXPECT_GE(list->sizeHint().height(), list->visualRect(longRow).bottom());

    // Wider, the title takes fewer lines.
    list->window()->resize(1400, 700);
    test::waitFor([&] { return list->visualRect(longRow).height() < narrow; });
    EXPECT_GE(list->visualRect(longRow).height(), oneLine);
}

TEST_F(ResultsListTest, ResultsThatComeWhileAScanRunsReachTheRowsAndTheEndShowsAtOnce)
{
    fixture.script.hold(ScanCategory::trash);
    ResultsList* list = makeList({ScanCategory::systemJunk, ScanCategory::trash});
    model.scan(ScanCategory::trash);
    fixture.script.waitStarted(ScanCategory::trash);
    for (int round = 0; round < 3; ++round) {
        fixture.load(sampleResult(ScanCategory::systemJunk,
                                  {sampleGroup(QStringLiteral("Round %1").arg(round),
                                               sampleItems(QStringLiteral("r"), round + 1, 1000, 1), true)}));
    }
    // The rows follow a moment later, and show the newest result.
    test::waitFor(
        [&] { return list->groupIndex(ScanCategory::systemJunk, groupAt(ScanCategory::systemJunk, 0).id).isValid(); });
    EXPECT_EQ(rowsOfKind(*list, Kind::groupHeader), 1);
    EXPECT_EQ(rowsOfKind(*list, Kind::item), 3);

    // When the scan ends, what it found shows on the next turns.
    fixture.script.release(ScanCategory::trash);
    test::waitFor([&] { return !model.runningCategories().contains(ScanCategory::trash); });
    settle(*list);
    EXPECT_TRUE(list->groupIndex(ScanCategory::trash, groupAt(ScanCategory::trash, 0).id).isValid());
    EXPECT_FALSE(list->sectionHeader(ScanCategory::trash)->isSpinning());
}

// Rows far apart repainted together look as after a repaint of everything:
// each part is painted once, the glass under it laid once.
TEST_F(ResultsListTest, RowsRepaintedApartLookAsAFullRepaint)
{
    fixture.load(
        sampleResult(ScanCategory::trash,
                     {sampleGroup(QStringLiteral("Trash"), sampleItems(QStringLiteral("t"), 10, 1000, 10), true)}));
    ResultsList* list = makeList({ScanCategory::trash});
    QWidget* window = list->window();
    const auto shot = [&] {
        QScreen* screen = window->screen();
        const QPoint at = list->viewport()->mapTo(window, QPoint(0, 0));
        return screen->grabWindow(window->winId(), at.x(), at.y(), list->viewport()->width(), 400).toImage();
    };
    list->viewport()->repaint();
    const QImage whole = shot();
    ASSERT_FALSE(whole.isNull());
    const auto& items = groupAt(ScanCategory::trash, 0).items;
    const QRect first = list->visualRect(list->itemIndex(ScanCategory::trash, items[0].id));
    const QRect last = list->visualRect(list->itemIndex(ScanCategory::trash, items[5].id));
    ASSERT_GT(last.top(), first.bottom());
    list->viewport()->update(first);
    list->viewport()->update(last);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    EXPECT_EQ(shot(), whole);
}

// On a screen of ratio 2 the cards' shadow is drawn in the screen's pixels:
// below a card it looks as the shadow drawn directly, no picture reaches the
// screen scaled, and a second paint copies the very pictures the first kept.
TEST_F(ResultsListTest, AtRatioTwoTheCardShadowIsKeptInDevicePixels)
{
    fixture.load(
        sampleResult(ScanCategory::trash,
                     {sampleGroup(QStringLiteral("Trash"), sampleItems(QStringLiteral("t"), 10, 1000, 10), true)}));
    fixture.load(
        sampleResult(ScanCategory::installers,
                     {sampleGroup(QStringLiteral("Disk images"), sampleItems(QStringLiteral("i"), 3, 1000, 3))}));
    ResultsList* list = makeList({ScanCategory::trash, ScanCategory::installers});
    QWidget* viewport = list->viewport();
    const QSize size = viewport->size();
    // The two sections' cards, and the gap between them where only their shadows show.
    const auto cardOf = [&](int section) {
        const auto [first, count] = list->resultsModel()->sectionRows(section);
        const int top = list->visualRect(list->resultsModel()->index(first, 0)).top()
            + (section == 0 ? 0 : ResultsModel::kSectionSpacing);
        const int bottom = list->visualRect(list->resultsModel()->index(first + count - 1, 0)).bottom();
        return QRect(0, top, size.width(), bottom + 1 - top);
    };
    const QRect cards[] = {cardOf(0), cardOf(1)};
    const QRect gap(0, (cards[0].bottom() + 1) * 2, size.width() * 2, (cards[1].top() - cards[0].bottom() - 1) * 2);
    ASSERT_EQ(gap.height(), ResultsModel::kSectionSpacing * 2);

    const auto background = [&] {
        QImage image(size * 2, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(236, 244, 240));
        image.setDevicePixelRatio(2);
        return image;
    };
    QImage shown = background();
    viewport->render(&shown, QPoint(), QRegion(), QWidget::RenderFlags());
    QImage direct = background();
    {
        // The cards' shadow: the accent's deep shade at 0.08, blurred by 16;
        // a painter's opacity of just under one draws it directly.
        QPainter painter(&direct);
        painter.setOpacity(0.9999);
        for (const QRect& card : cards) {
            SoftShadow(16, 0.08).paint(painter, QRectF(card), ResultsModel::kCardRadius,
                                       Palette::accentDeep().resolve(Palette::appearance(list)));
        }
    }
    EXPECT_GT(test::differenceOf(direct.copy(gap), background().copy(gap)).largest, 3);
    EXPECT_LE(test::differenceOf(shown.copy(gap), direct.copy(gap)).largest, 2);

    PaintRecorder screen(size, 2);
    viewport->render(&screen, QPoint(), QRegion(), QWidget::RenderFlags());
    const QList<qint64> first = screen.pictures();
    screen.reset();
    viewport->render(&screen, QPoint(), QRegion(), QWidget::RenderFlags());
    EXPECT_GT(screen.counts().copies, 0);
    EXPECT_EQ(screen.counts().scaled, 0);
    EXPECT_EQ(screen.pictures(), first);
}

TEST_F(ResultsListTest, KeepsTheScreensScrollPositionWhenASelectionChanges)
{
    fixture.load(
        sampleResult(ScanCategory::systemJunk,
                     {sampleGroup(QStringLiteral("Caches"), sampleItems(QStringLiteral("c"), 40, 1000, 40), true)}));
    ScreenFrame frame;
    auto* list = new ResultsList(model, {ScanCategory::systemJunk}, services);
    frame.addWidget(list);
    frame.resize(900, 500);
    frame.show();
    test::settleLayouts();
    QScrollBar* bar = frame.scrollArea()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 300);
    bar->setValue(300);
    const ScanItem item = groupAt(ScanCategory::systemJunk, 0).items[20];
    const QModelIndex index = list->itemIndex(ScanCategory::systemJunk, item.id);
    const QPoint box = list->targetRect(index, ResultsList::Target::box).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box);
    test::settleLayouts();
    EXPECT_FALSE(groupAt(ScanCategory::systemJunk, 0).items[20].isSelected);
    EXPECT_EQ(bar->value(), 300);

    // The list leaves the wheel to the screen around it (the window system
    // passes a wheel event nobody accepted on to the parents).
    QWheelEvent wheel(QPointF(box), list->viewport()->mapToGlobal(QPointF(box)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(list->viewport(), &wheel);
    EXPECT_FALSE(wheel.isAccepted());
    EXPECT_EQ(list->verticalScrollBar()->value(), 0);
    bar->setValue(300);

    // Keyboard moves bring the current row into view.
    list->setFocus();
    list->setCurrentIndex(index);
    QTest::keyClick(list, Qt::Key_Home);
    test::settleLayouts();
    EXPECT_LT(bar->value(), 300);
}

} // namespace

namespace {

// A list of several categories in every state, with long names, expanded and
// collapsed groups and all three selection states, drawn in light and dark to
// PNG files in the build tree for a person to look at.
TEST_F(ResultsListTest, RendersAPopulatedListInBothAppearances)
{
    Symbols::useIconTheme();
    services.iconForFile = [](const QString& path) {
        return QIcon::fromTheme(path.endsWith(QLatin1String("2")) ? QStringLiteral("folder")
                                                                  : QStringLiteral("text-x-generic"));
    };
    QList<ScanItem> caches = sampleItems(QStringLiteral("cache-entry"), 45, 1250000, 20);
    caches[0].displayName =
        QStringLiteral("com.example.a-very-long-application-identifier.with.many.parts.and.more.parts.cache.db");
    caches[0].origin =
        QStringLiteral("~/Library/Caches/com.example.a-very-long-application-identifier/with/deep/folders/inside/it");
    caches[1].requiresReview = true;
    caches[1].detail = QStringLiteral("Used 3 days ago");
    caches[2].size = 0;
    caches[2].origin = QStringLiteral("~/.cache");
    fixture.load(sampleResult(
        ScanCategory::systemJunk,
        {sampleGroup(QStringLiteral("User caches"), caches, true),
         sampleGroup(QStringLiteral("Logs"), sampleItems(QStringLiteral("log"), 7, 3000, 7)),
         sampleGroup(QStringLiteral("Language files"), sampleItems(QStringLiteral("lproj"), 3, 1, 0), false, true),
         sampleGroup(QStringLiteral("Empty"), {}, true, true),
         sampleGroup(QStringLiteral("Support files of org.example.an-application-with-a-remarkably-"
                                    "long-identifier-that-goes-on-past-any-column-width"),
                     sampleItems(QStringLiteral("support"), 2, 4096, 2))}));
    fixture.load(sampleResult(ScanCategory::trash, {sampleGroup(QStringLiteral("Trash"), {})}));
    fixture.script.hold(ScanCategory::installers);
    model.scan(ScanCategory::installers);
    fixture.script.waitStarted(ScanCategory::installers);

    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/look");
    QDir().mkpath(folder);
    for (const auto& [appearance, name] : {std::pair{Appearance::light, QStringLiteral("results-light.png")},
                                           std::pair{Appearance::dark, QStringLiteral("results-dark.png")}}) {
        AuroraBackground root;
        Palette::setOwnAppearance(&root, appearance);
        auto* layout = new QVBoxLayout(&root);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* frame = new ScreenFrame;
        layout->addWidget(frame);
        auto* list = new ResultsList(
            model,
            {ScanCategory::systemJunk, ScanCategory::trash, ScanCategory::mailAttachments, ScanCategory::installers},
            services);
        frame->addWidget(list);
        root.resize(800, 2300);
        root.show();
        test::settleLayouts();
        list->setFocus();
        list->setCurrentIndex(list->groupIndex(ScanCategory::systemJunk, groupAt(ScanCategory::systemJunk, 1).id));
        test::settleLayouts();
        const QString path = QDir(folder).filePath(name);
        const QPixmap shot = root.grab();
        EXPECT_TRUE(shot.save(path)) << path.toStdString();
        // The first rows at full size, where the details show.
        EXPECT_TRUE(shot.copy(0, 0, 800, 360).save(QDir(folder).filePath(QStringLiteral("top-") + name)));
    }
}

} // namespace
