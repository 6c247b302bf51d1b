#include "support/EventWait.h"
#include "ui/components/AdaptiveGrid.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/HairlineDivider.h"
#include "ui/components/OverhangSlot.h"
#include "ui/components/RepeatingTask.h"

#include <QSignalSpy>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace harborlite;

TEST(RepeatingTask, RunsAtOnceThenAfterEachPauseReadAfreshUntilStopped)
{
    int runs = 0;
    int pause = 40;
    RepeatingTask task([&] { ++runs; }, [&] { return pause; });
    EXPECT_FALSE(task.isRunning());
    EXPECT_EQ(task.armedPause(), 0);
    task.start();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(task.isRunning());
    EXPECT_EQ(task.armedPause(), 40);
    task.start();
    EXPECT_EQ(runs, 1);
    pause = 10;
    EXPECT_EQ(task.nextPause(), 10);
    test::waitFor([&] { return runs == 2; });
    EXPECT_EQ(task.armedPause(), 10);
    task.tick();
    EXPECT_EQ(runs, 3);
    task.stop();
    EXPECT_FALSE(task.isRunning());
    task.tick();
    EXPECT_EQ(runs, 4);
    EXPECT_FALSE(task.isRunning());
    EXPECT_EQ(task.armedPause(), 0);
}

TEST(RepeatingTask, ABodyThatStopsTheLoopEndsIt)
{
    int runs = 0;
    RepeatingTask* self = nullptr;
    RepeatingTask task(
        [&] {
            ++runs;
            self->stop();
        },
        [] { return 0; });
    self = &task;
    task.start();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(task.isRunning());
}

TEST(AdaptiveGrid, RowsCanBeSpacedApartFromColumns)
{
    QWidget host;
    auto* grid = new AdaptiveGrid(100, 10, &host);
    grid->setRowSpacing(-4);
    EXPECT_EQ(grid->rowSpacing(), -4);
    std::vector<QWidget*> items;
    for (int i = 0; i < 4; ++i) {
        auto* item = new QWidget;
        item->setFixedHeight(50);
        grid->addWidget(item);
        items.push_back(item);
    }
    grid->setGeometry(QRect(0, 0, 210, 0));
    EXPECT_EQ(items[1]->x(), 110);
    EXPECT_EQ(items[2]->y(), 46);
    EXPECT_EQ(grid->heightForWidth(210), 96);
}

// A shadowed card in a column: the column's spacing and edges are measured to
// its surface, while its shadow lies in the column's padding unclipped.
TEST(OverhangSlot, ContentLiesOverTheSlotGrownByTheOverhang)
{
    QWidget column;
    auto* layout = new QVBoxLayout(&column);
    layout->setContentsMargins(30, 30, 30, 30);
    layout->setSpacing(10);
    auto* above = new QWidget;
    above->setFixedHeight(20);
    layout->addWidget(above);
    auto* content = new QWidget;
    content->setMinimumHeight(80);
    auto* slot = new OverhangSlot(content, QMargins(20, 10, 20, 25));
    layout->addWidget(slot);
    layout->addStretch(1);
    column.resize(300, 400);
    column.show();
    QCoreApplication::sendPostedEvents();

    EXPECT_EQ(content->parentWidget(), &column);
    EXPECT_EQ(slot->geometry(), QRect(30, 60, 240, slot->height()));
    EXPECT_EQ(content->geometry(), slot->geometry().marginsAdded(QMargins(20, 10, 20, 25)));
    EXPECT_TRUE(content->isVisible());
    EXPECT_EQ(slot->heightForWidth(240), 45);

    slot->hide();
    EXPECT_FALSE(content->isVisible());
    slot->show();
    EXPECT_TRUE(content->isVisible());

    // The content asking for another size moves the slot's neighbours.
    content->setMinimumHeight(200);
    test::waitFor([&] { return slot->height() == 165; });
    EXPECT_EQ(content->height(), 200);

    QPointer<QWidget> watched(content);
    delete slot;
    EXPECT_TRUE(watched.isNull());
}

TEST(HairlineDivider, OnePixelAcrossItsOrientation)
{
    HairlineDivider across;
    EXPECT_EQ(across.minimumHeight(), 1);
    EXPECT_EQ(across.maximumHeight(), 1);
    EXPECT_EQ(across.objectName(), QStringLiteral("hairlineDivider"));
    HairlineDivider upright(Qt::Vertical);
    EXPECT_EQ(upright.maximumWidth(), 1);
    EXPECT_EQ(upright.orientation(), Qt::Vertical);
}

TEST(GlassCompatButton, ASmallSymbolMakesANarrowerButton)
{
    GlassCompatButton standard(QString(), false);
    standard.setSymbol(QStringLiteral("chevron.up"));
    GlassCompatButton small(QString(), false);
    small.setSymbol(QStringLiteral("chevron.up"));
    small.setSymbolSide(9);
    EXPECT_EQ(small.symbolSide(), 9);
    EXPECT_EQ(standard.symbolSide(), GlassCompatButton::kSymbolSide);
    EXPECT_EQ(standard.sizeHint().width() - small.sizeHint().width(), 4);
}
