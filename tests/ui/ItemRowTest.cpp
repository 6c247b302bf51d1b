#include "ResultsSamples.h"

#include "ui/results/ItemRow.h"
#include "ui/results/ItemRowPainter.h"
#include "ui/results/PreparedRows.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

using namespace harborlite;
using test::sampleItem;

namespace {

class ItemRowTest : public ::testing::Test {
protected:
    QStringList revealed;
    QStringList iconsAsked;
    ScreenServices services{
        .reveal = [this](const QStringList& paths) { revealed.append(paths); },
        .iconForFile =
            [this](const QString& path) {
                iconsAsked.append(path);
                return QIcon();
            },
        .whenIconsArrive = {},
    };
    int toggles = 0;

    std::unique_ptr<ItemRow> makeRow(const ScanItem& item)
    {
        auto row = std::make_unique<ItemRow>(
            item, [this] { ++toggles; }, services);
        row->resize(600, row->sizeHint().height());
        row->show();
        QCoreApplication::processEvents();
        return row;
    }
};

TEST_F(ItemRowTest, SizeTextFollowsTheZeroRule)
{
    const std::pair<qint64, QString> cases[] = {
        {0, "0 KB"}, {-20, "0 KB"}, {1, "1 byte"}, {999, "999 bytes"}, {1500, "2 KB"}, {1250000, "1.3 MB"},
    };
    for (const auto& [size, text] : cases) {
        EXPECT_EQ(ItemRowPainter::sizeText(sampleItem(QStringLiteral("a"), size)), text) << size;
    }
}

TEST_F(ItemRowTest, PressingTheBoxCallsToggleOnceAndTheBoxWaitsForTheBuilder)
{
    ScanItem item = sampleItem(QStringLiteral("report.pdf"), 2000, true);
    auto row = makeRow(item);
    EXPECT_EQ(row->boxState(), ScanGroup::SelectionState::all);
    QTest::mouseClick(row.get(), Qt::LeftButton, {}, row->parts().box.center());
    EXPECT_EQ(toggles, 1);
    EXPECT_EQ(row->boxState(), ScanGroup::SelectionState::all);
    item.isSelected = false;
    row->setItem(item);
    EXPECT_EQ(row->boxState(), ScanGroup::SelectionState::none);
    // Elsewhere on the row nothing happens.
    QTest::mouseClick(row.get(), Qt::LeftButton, {}, row->parts().name.center());
    EXPECT_EQ(toggles, 1);
    EXPECT_TRUE(revealed.isEmpty());
}

TEST_F(ItemRowTest, AssistiveToolsReadACheckBoxNamedAfterTheItem)
{
    ScanItem item = sampleItem(QStringLiteral("report.pdf"), 2000, true);
    auto row = makeRow(item);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(row.get());
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::CheckBox);
    EXPECT_EQ(face->text(QAccessible::Name), "report.pdf");
    EXPECT_TRUE(face->state().checkable);
    EXPECT_TRUE(face->state().checked);

    // The builder's changed item is what the interface reads next.
    item.isSelected = false;
    item.displayName = QStringLiteral("renamed.pdf");
    row->setItem(item);
    EXPECT_FALSE(face->state().checked);
    EXPECT_EQ(face->text(QAccessible::Name), "renamed.pdf");
}

TEST_F(ItemRowTest, RevealHandsTheLocationOverEvenWhenTheFileIsGone)
{
    auto row = makeRow(sampleItem(QStringLiteral("gone.txt"), 10));
    QTest::mouseClick(row.get(), Qt::LeftButton, {}, row->parts().reveal.center());
    EXPECT_EQ(revealed, QStringList{"/fixture/gone.txt"});
    EXPECT_EQ(toggles, 0);
    row->grab();
    EXPECT_TRUE(iconsAsked.contains("/fixture/gone.txt"));
}

TEST_F(ItemRowTest, HoverComesAndGoesWithThePointer)
{
    ItemRow fresh(
        sampleItem(QStringLiteral("a"), 10), [] {}, services);
    EXPECT_FALSE(fresh.isHovering());
    auto row = makeRow(sampleItem(QStringLiteral("a"), 10));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(row.get(), &enter);
    EXPECT_TRUE(row->isHovering());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(row.get(), &leave);
    EXPECT_FALSE(row->isHovering());
}

TEST_F(ItemRowTest, OptionalPartsTakeRoomOnlyWhenPresent)
{
    ScanItem plain = sampleItem(QStringLiteral("plain"), 10);
    ScanItem full = plain;
    full.origin = QStringLiteral("~/Library/Caches");
    full.detail = QStringLiteral("Used 3 days ago");
    full.requiresReview = true;
    const QRect rect(0, 0, 600, ItemRowPainter::height(full));

    const ItemRowPainter::Layout bare = ItemRowPainter::layout(QRect(0, 0, 600, ItemRowPainter::height(plain)), plain);
    EXPECT_TRUE(bare.origin.isEmpty());
    EXPECT_TRUE(bare.detail.isEmpty());
    EXPECT_TRUE(bare.warning.isEmpty());
    EXPECT_EQ(bare.name.center().y(), bare.box.center().y());
    EXPECT_LT(ItemRowPainter::height(plain), ItemRowPainter::height(full));

    const ItemRowPainter::Layout rich = ItemRowPainter::layout(rect, full);
    EXPECT_FALSE(rich.origin.isEmpty());
    EXPECT_EQ(rich.origin.top(), rich.name.bottom() + 1);
    // Warning, detail, size and reveal follow one another, 9 apart, at the trailing edge.
    EXPECT_EQ(rich.detail.left() - rich.warning.right() - 1, 9);
    EXPECT_EQ(rich.size.left() - rich.detail.right() - 1, 9);
    EXPECT_EQ(rich.reveal.left() - rich.size.right() - 1, 9);
    EXPECT_EQ(rich.reveal.right(), 600 - 1 - 9);
    EXPECT_GE(rich.size.width(), 66);
    EXPECT_EQ(rich.size, bare.size.translated(0, 0).adjusted(0, 0, 0, rich.size.height() - bare.size.height()));
    EXPECT_GE(rich.warning.left() - rich.name.right() - 1, 8);

    auto row = makeRow(full);
    EXPECT_EQ(row->toolTipAt(row->parts().warning.center()), "Check this one before removing it.");
    EXPECT_EQ(row->toolTipAt(row->parts().reveal.center()), "Reveal in Finder");
    EXPECT_EQ(row->toolTipAt(row->parts().name.center()), "");
}

TEST_F(ItemRowTest, LongNamesLoseTheirMiddle)
{
    ScanItem item =
        sampleItem(QStringLiteral("begin-") + QString(200, QLatin1Char('x')) + QStringLiteral("-end.log"), 1);
    item.origin = QStringLiteral("~/start/") + QString(200, QLatin1Char('y')) + QStringLiteral("/finish");
    const QString name = ItemRowPainter::shownName(item, 200);
    const QString origin = ItemRowPainter::shownOrigin(item, 200);
    EXPECT_TRUE(name.startsWith("begin-")) << name.toStdString();
    EXPECT_TRUE(name.endsWith("-end.log")) << name.toStdString();
    EXPECT_TRUE(name.contains(QChar(0x2026)));
    EXPECT_TRUE(origin.startsWith("~/start/")) << origin.toStdString();
    EXPECT_TRUE(origin.endsWith("/finish")) << origin.toStdString();
    EXPECT_EQ(ItemRowPainter::shownOrigin(sampleItem(QStringLiteral("a"), 1), 200), "");
}

// A row drawn from its kept measurements is the row drawn directly, wherever
// it stands; a row whose item or width changed is measured again.
TEST(PreparedRows, DrawTheRowAsMeasuredNow)
{
    ScanItem item =
        sampleItem(QStringLiteral("begin-") + QString(120, QLatin1Char('x')) + QStringLiteral("-end.log"), 4096);
    item.origin = QStringLiteral("~/Library/Caches/") + QString(80, QLatin1Char('y'));
    item.detail = QStringLiteral("Used 3 days ago");
    item.requiresReview = true;
    const auto drawn = [](const ScanItem& shown, const QRect& area, PreparedRows* kept) {
        QImage image(700, 120, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(230, 240, 235));
        QPainter painter(&image);
        if (kept) {
            kept->paint(painter, area, shown, QIcon(), false, false, Appearance::light);
        } else {
            ItemRowPainter::paint(painter, area, shown, QIcon(), false, false, Appearance::light);
        }
        return image;
    };
    PreparedRows rows;
    const int height = ItemRowPainter::height(item);
    // The box's first sight is painted directly, not from the surface cache,
    // and may round a level differently: the row is drawn once beforehand.
    drawn(item, QRect(10, 5, 600, height), nullptr);
    for (const QRect& area : {QRect(10, 5, 600, height), QRect(30, 60, 600, height), QRect(10, 5, 420, height)}) {
        EXPECT_EQ(drawn(item, area, &rows), drawn(item, area, nullptr));
    }
    ScanItem renamed = item;
    renamed.displayName = QStringLiteral("another-name.log");
    EXPECT_EQ(drawn(renamed, QRect(10, 5, 600, height), &rows), drawn(renamed, QRect(10, 5, 600, height), nullptr));
}

} // namespace
