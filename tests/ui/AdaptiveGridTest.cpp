#include "ui/review/AdaptiveGrid.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

using namespace harborlite;

TEST(AdaptiveGrid, ColumnCountTable)
{
    struct Case {
        int width;
        int minColumn;
        int spacing;
        int columns;
    };
    for (const Case& c : {
             Case{0, 250, 12, 1},     Case{100, 250, 12, 1},  Case{249, 250, 12, 1},  Case{250, 250, 12, 1},
             Case{511, 250, 12, 1},   Case{512, 250, 12, 2},  Case{773, 250, 12, 2},  Case{774, 250, 12, 3},
             Case{848, 250, 12, 3},   Case{1036, 250, 12, 4}, Case{300, 300, 0, 1},   Case{600, 300, 0, 2},
             Case{-40, 250, 12, 1},
         }) {
        EXPECT_EQ(AdaptiveGrid::columnCount(c.width, c.minColumn, c.spacing), c.columns)
            << c.width << " " << c.minColumn << " " << c.spacing;
    }
}

namespace {

struct Filled {
    QWidget host;
    AdaptiveGrid* grid = new AdaptiveGrid(250, 12, &host);
    QList<QWidget*> cells;

    explicit Filled(int count, const QList<int>& heights = {})
    {
        for (int i = 0; i < count; ++i) {
            auto* cell = new QWidget;
            cell->setMinimumHeight(heights.value(i, 40));
            cell->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            grid->addWidget(cell);
            cells.append(cell);
        }
    }
    void resize(int width)
    {
        host.resize(width, grid->heightForWidth(width));
        grid->activate();
        grid->setGeometry(QRect(0, 0, width, grid->heightForWidth(width)));
    }
};

} // namespace

TEST(AdaptiveGrid, ReflowsWhenTheWidthChanges)
{
    Filled filled(8);
    filled.host.show();

    filled.resize(848);
    EXPECT_EQ(filled.grid->columns(), 3);
    EXPECT_EQ(filled.grid->heightForWidth(848), 3 * 40 + 2 * 12);
    // Equal columns spanning the whole width, rows in adding order.
    EXPECT_EQ(filled.cells[0]->geometry(), QRect(0, 0, 274, 40));
    EXPECT_EQ(filled.cells[1]->geometry().left(), 286);
    EXPECT_EQ(filled.cells[2]->geometry().right(), 847);
    EXPECT_EQ(filled.cells[3]->geometry().topLeft(), QPoint(0, 52));
    EXPECT_EQ(filled.cells[7]->geometry().topLeft(), QPoint(286, 104));

    filled.resize(400);
    EXPECT_EQ(filled.grid->columns(), 1);
    EXPECT_EQ(filled.grid->heightForWidth(400), 8 * 40 + 7 * 12);
    EXPECT_EQ(filled.cells[7]->geometry(), QRect(0, 7 * 52, 400, 40));
}

TEST(AdaptiveGrid, RowsTakeTheirTallestCellAndHiddenCellsLeaveNoGap)
{
    Filled filled(4, {40, 70, 30, 30});
    filled.host.show();
    filled.cells[2]->hide();
    filled.resize(600);
    EXPECT_EQ(filled.grid->heightForWidth(600), 70 + 12 + 30);
    EXPECT_EQ(filled.cells[1]->geometry().height(), 70);
    EXPECT_EQ(filled.cells[0]->geometry().top(), 0);
    EXPECT_EQ(filled.cells[3]->geometry().topLeft(), QPoint(0, 82));

    Filled empty(0);
    EXPECT_EQ(empty.grid->heightForWidth(600), 0);
}
