#include "ResultsSamples.h"
#include "ReviewModelFixture.h"

#include "ui/results/ResultsListController.h"
#include "ui/results/ResultsModel.h"

#include <gtest/gtest.h>

using namespace harborlite;
using test::sampleGroup;
using test::sampleItems;
using test::sampleResult;

namespace {

using Kind = ResultsModel::Kind;
using Move = ResultsListController::Move;

// The controller over the rows alone, with no view: a large category with one
// expanded group of 100 (40 listed, then "Show more") and a collapsed group
// of 2, then a category never scanned (a header and its text, neither of
// which the cursor stops on).
class ResultsListControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixture.load(
            sampleResult(ScanCategory::largeAndOld,
                         {sampleGroup(QStringLiteral("Big"), sampleItems(QStringLiteral("b"), 100, 10, 0), true),
                          sampleGroup(QStringLiteral("Small"), sampleItems(QStringLiteral("s"), 2, 10, 2))}));
        rows.refresh();
    }

    const ScanGroup& groupAt(int index) const { return scans.results().at(ScanCategory::largeAndOld).groups[index]; }
    QModelIndex group(int index) const
    {
        return rows.index(rows.find(Kind::groupHeader, ScanCategory::largeAndOld, groupAt(index).id));
    }
    QModelIndex item(int index) const
    {
        return rows.index(rows.find(Kind::item, ScanCategory::largeAndOld, groupAt(0).items[index].id));
    }
    QModelIndex showMore() const
    {
        return rows.index(rows.find(Kind::showMore, ScanCategory::largeAndOld, groupAt(0).id));
    }

    void click(const QModelIndex& pressed, RowTarget pressedOn, const QModelIndex& released, RowTarget releasedOver)
    {
        controller.press(pressed, pressedOn);
        controller.release(released, releasedOver);
        rows.refresh();
    }

    test::ReviewModelFixture fixture;
    ScanSession& scans = fixture.scans();
    ResultsModel rows{scans, {ScanCategory::largeAndOld, ScanCategory::trash}};
    QList<QStringList> revealed;
    int pages = 0;
    ResultsListController controller{scans, rows, [this](const QStringList& paths) { revealed.append(paths); },
                                     [this] { ++pages; }};
};

// A click acts only when the release ends a left-button press on the same
// part of the same row; a press elsewhere, or a release after the click was
// spent, does nothing.
TEST_F(ResultsListControllerTest, AClickActsWhereItWasPressedAndReleased)
{
    click(item(0), RowTarget::box, item(1), RowTarget::box);
    click(item(0), RowTarget::box, item(0), RowTarget::reveal);
    click(item(0), RowTarget::none, item(0), RowTarget::box);
    click(item(0), RowTarget::warning, item(0), RowTarget::warning);
    click(group(1), RowTarget::box, group(1), RowTarget::header);
    EXPECT_FALSE(groupAt(0).items[0].isSelected);
    EXPECT_FALSE(groupAt(0).items[1].isSelected);
    EXPECT_EQ(groupAt(1).selectionState(), ScanGroup::SelectionState::all);
    EXPECT_FALSE(groupAt(1).isExpanded);
    EXPECT_TRUE(revealed.isEmpty());

    click(item(0), RowTarget::box, item(0), RowTarget::box);
    EXPECT_TRUE(groupAt(0).items[0].isSelected);
    controller.release(item(0), RowTarget::box);
    EXPECT_TRUE(groupAt(0).items[0].isSelected);

    click(item(2), RowTarget::reveal, item(2), RowTarget::reveal);
    ASSERT_EQ(revealed.size(), 1);
    EXPECT_EQ(revealed[0], QStringList{groupAt(0).items[2].url});
    EXPECT_FALSE(groupAt(0).items[2].isSelected);

    click(group(1), RowTarget::header, group(1), RowTarget::header);
    EXPECT_TRUE(groupAt(1).isExpanded);
    click(group(1), RowTarget::chevron, group(1), RowTarget::chevron);
    EXPECT_FALSE(groupAt(1).isExpanded);

    click(showMore(), RowTarget::showMore, showMore(), RowTarget::showMore);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(rows.visibleCount(groupAt(0).id), 240);
    EXPECT_FALSE(showMore().isValid());
}

// The cursor stops on group, item and "Show more" rows only, and stays where
// no such row lies the way it moves.
TEST_F(ResultsListControllerTest, TheCursorMovesOverGroupsItemsAndShowMore)
{
    const QModelIndex none;
    struct Case {
        const char* name;
        QModelIndex from;
        Move move;
        QModelIndex expected;
    };
    const Case cases[] = {
        {"down from nothing", none, Move::down, group(0)},
        {"up from nothing", none, Move::up, group(1)},
        {"home", item(20), Move::home, group(0)},
        {"end, past the unscanned category", item(20), Move::end, group(1)},
        {"down into the items", group(0), Move::down, item(0)},
        {"up to the header", item(0), Move::up, group(0)},
        {"down to \"Show more\"", item(39), Move::down, showMore()},
        {"up to \"Show more\"", group(1), Move::up, showMore()},
        {"a page down is ten rows", group(0), Move::pageDown, item(9)},
        {"a page down near the end", item(35), Move::pageDown, group(1)},
        {"a page up near the start", item(5), Move::pageUp, group(0)},
        {"a page down at the end stays", group(1), Move::pageDown, group(1)},
        {"down at the end stays", group(1), Move::down, group(1)},
        {"up at the start stays", group(0), Move::up, group(0)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(controller.moveCursor(c.move, c.from), c.expected) << c.name;
    }
}

// Left goes up from an item or "Show more" to its group and collapses a
// group, Right expands one, Space toggles or pages, Enter pages; the arrows up
// and down and other keys are the view's.
TEST_F(ResultsListControllerTest, KeysActOnTheCurrentRow)
{
    const auto outcome = [&](int key, const QModelIndex& current) {
        const ResultsListController::KeyOutcome made = controller.keyPress(key, current);
        rows.refresh();
        return made;
    };
    EXPECT_EQ(outcome(Qt::Key_Left, item(3)).current, std::optional(group(0)));
    EXPECT_EQ(outcome(Qt::Key_Left, showMore()).current, std::optional(group(0)));
    for (const int key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_A}) {
        EXPECT_FALSE(outcome(key, item(3)).handled) << key;
    }

    const ResultsListController::KeyOutcome right = outcome(Qt::Key_Right, item(3));
    EXPECT_TRUE(right.handled);
    EXPECT_FALSE(right.current);
    EXPECT_TRUE(outcome(Qt::Key_Space, item(3)).handled);
    EXPECT_TRUE(groupAt(0).items[3].isSelected);
    EXPECT_TRUE(outcome(Qt::Key_Enter, showMore()).handled);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(rows.visibleCount(groupAt(0).id), 240);

    EXPECT_FALSE(outcome(Qt::Key_Left, group(0)).current);
    EXPECT_FALSE(groupAt(0).isExpanded);
    outcome(Qt::Key_Left, group(0));
    EXPECT_FALSE(groupAt(0).isExpanded);
    outcome(Qt::Key_Right, group(1));
    EXPECT_TRUE(groupAt(1).isExpanded);
    outcome(Qt::Key_Return, group(1));
    EXPECT_FALSE(groupAt(1).isExpanded);
    outcome(Qt::Key_Space, group(1));
    EXPECT_EQ(groupAt(1).selectionState(), ScanGroup::SelectionState::none);
    // Nothing current, nothing done.
    EXPECT_TRUE(outcome(Qt::Key_Space, QModelIndex()).handled);
    EXPECT_TRUE(outcome(Qt::Key_Left, QModelIndex()).handled);
}

} // namespace
