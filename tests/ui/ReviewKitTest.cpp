#include "ReviewModelFixture.h"

#include "shared/Formatting.h"
#include "ui/cleaning/RemovalModePicker.h"
#include "ui/cleaning/ScanButton.h"
#include "ui/components/AdaptiveGrid.h"
#include "ui/components/AuroraBackground.h"
#include "ui/components/HeaderRow.h"
#include "ui/components/NoticeBlock.h"
#include "ui/components/PrimaryActionBar.h"
#include "ui/components/ReviewText.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenFrame.h"
#include "ui/components/ScreenHeader.h"
#include "ui/components/SummaryRow.h"
#include "ui/components/SummaryStat.h"
#include "ui/theme/Symbols.h"

#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

TEST(ReviewText, CountsPercentagesAndSelectionTexts)
{
    EXPECT_EQ(ReviewText::count(0), "0");
    EXPECT_EQ(ReviewText::count(1000), "1000");
    EXPECT_EQ(ReviewText::count(-3), "-3");
    EXPECT_EQ(ReviewText::percent(0.256), "26%");
    EXPECT_EQ(ReviewText::percent(std::numeric_limits<double>::quiet_NaN()), "0%");
    EXPECT_EQ(ReviewText::selectedTitle(0), "0 KB selected");
    EXPECT_EQ(ReviewText::selectedTitle(-5), "0 KB selected");
    EXPECT_EQ(ReviewText::selectedTitle(1500000), "1.5 MB selected");
    EXPECT_EQ(ReviewText::itemsFound(1), "1 item(s) found");
    EXPECT_EQ(ReviewText::itemsSelected(12000), "12000 item(s) selected");
    EXPECT_EQ(ReviewText::kEllipsis, QChar(0x2026));
    EXPECT_EQ(ReviewText::kMiddleDot, QString::fromUtf8(" \xC2\xB7 "));
}

TEST(SummaryRow, ValuesFollowTheZeroRuleAndAddTheSelectionToFreeSpace)
{
    struct Case {
        qint64 found, selected, diskFree;
        SummaryRow::Values expected;
    };
    const Case cases[] = {
        {0, 0, 0, {"0 KB", "0 KB", "0 KB"}},
        {-1, -1, 0, {"0 KB", "0 KB", "0 KB"}},
        {3000000, 1000000, 0, {"3 MB", "1 MB", "1 MB"}},
        {3000000, 0, 5000000000, {"3 MB", "0 KB", "5 GB"}},
        {2000, 1000, 1000000, {"2 KB", "1 KB", "1 MB"}},
        {1,
         1,
         std::numeric_limits<qint64>::max(),
         {"1 byte", "1 byte", Format::bytes(std::numeric_limits<qint64>::max())}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SummaryRow::values(c.found, c.selected, c.diskFree), c.expected) << c.found << " " << c.selected;
    }
}

TEST(SummaryRow, TilesCarryTheirTitlesSymbolsAndTints)
{
    SummaryRow row(QStringLiteral("Free after clean"));
    row.setValues(3000000, 1000000, 2000000);
    EXPECT_EQ(row.shown(), (SummaryRow::Values{"3 MB", "1 MB", "3 MB"}));
    struct Expected {
        SummaryStat* stat;
        QString title, symbol;
        PaletteRole tint;
    };
    for (const Expected& e :
         {Expected{row.foundStat(), "Found", "magnifyingglass", PaletteRole::accent},
          Expected{row.selectedStat(), "Selected", "checkmark.circle", PaletteRole::accentDeep},
          Expected{row.freeStat(), "Free after clean", "internaldrive", PaletteRole::accentBright}}) {
        EXPECT_EQ(e.stat->title(), e.title);
        EXPECT_EQ(e.stat->symbol(), e.symbol);
        EXPECT_EQ(e.stat->tint(), e.tint);
    }
}

TEST(RemovalModePicker, TitlesComeFromOneTableInModeOrder)
{
    test::ReviewModelFixture fixture;
    RemovalModePicker picker(fixture.scans());
    const QStringList titles = {"Move to Trash", "Delete permanently", "Shred securely"};
    ASSERT_EQ(picker.count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(picker.itemText(i), titles[i]);
        EXPECT_EQ(RemovalModePicker::title(Remover::allModes[static_cast<std::size_t>(i)]), titles[i]);
    }
    EXPECT_EQ(picker.width(), 158);
}

TEST(RemovalModePicker, FollowsTheModelBothWays)
{
    test::ReviewModelFixture fixture;
    ScanSession& model = fixture.scans();
    RemovalModePicker first(model);
    RemovalModePicker second(model);
    EXPECT_EQ(first.mode(), Remover::Mode::trash);

    first.setCurrentIndex(2);
    EXPECT_EQ(model.cleanupMode(), Remover::Mode::shred);
    EXPECT_EQ(second.mode(), Remover::Mode::shred);

    model.setCleanupMode(Remover::Mode::permanent);
    EXPECT_EQ(first.currentText(), "Delete permanently");
    EXPECT_EQ(second.currentText(), "Delete permanently");
}

class ScanButtonTest : public ::testing::Test {
protected:
    test::ReviewModelFixture fixture;
    ScanSession& model = fixture.scans();
    const QList<ScanCategory> categories = {ScanCategory::trash, ScanCategory::installers};
};

TEST_F(ScanButtonTest, StartsEveryCategoryAtOnceThenStopsEveryScan)
{
    for (const ScanCategory category : categories) {
        fixture.script.hold(category);
    }
    ScanButton button(model, ScanButton::scanning(model, categories, [] { return QStringLiteral("Scan All"); }));
    EXPECT_EQ(button.text(), "Scan All");
    EXPECT_EQ(button.tint().light, Palette::accent().light);
    EXPECT_FALSE(button.isBusy());

    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(model.runningCategories(), (ScanSession::Categories{ScanCategory::trash, ScanCategory::installers}));
    for (const ScanCategory category : categories) {
        fixture.script.waitStarted(category);
    }
    EXPECT_EQ(button.text(), "Stop");
    EXPECT_EQ(button.tint().light, Palette::danger().light);

    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_TRUE(model.runningCategories().empty());
    EXPECT_EQ(button.text(), "Scan All");
    EXPECT_EQ(button.tint().light, Palette::accent().light);
}

TEST_F(ScanButtonTest, BusyOnlyForItsOwnCategoriesButDecidesAtPressTime)
{
    fixture.script.hold(ScanCategory::privacy);
    int titleAsked = 0;
    ScanButton button(model, ScanButton::scanning(model, categories, [&] {
                          ++titleAsked;
                          return QStringLiteral("Scan");
                      }));
    model.scan(ScanCategory::privacy);
    EXPECT_EQ(button.text(), "Scan");
    EXPECT_GT(titleAsked, 0);

    // The screen's state changes without the button hearing of it: the press
    // still goes by the state at that moment.
    fixture.script.hold(ScanCategory::trash);
    model.scan(ScanCategory::trash);
    const QSignalBlocker quiet(&model);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_TRUE(model.runningCategories().empty());
}

TEST_F(ScanButtonTest, OwnStopAndStopTitle)
{
    bool busy = true;
    int stops = 0;
    ScanButton::Behaviour behaviour;
    behaviour.isBusy = [&] { return busy; };
    behaviour.title = [] { return QStringLiteral("Scan Now"); };
    behaviour.start = [] {};
    behaviour.stop = [&] {
        ++stops;
        busy = false;
    };
    behaviour.stopTitle = QStringLiteral("Stop Scan");
    ScanButton button(model, behaviour);
    EXPECT_EQ(button.text(), "Stop Scan");
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(button.text(), "Scan Now");
}

TEST(ScreenFrame, ColumnIsCentredWithinItsWidthAndTheBarHasItsInset)
{
    ScreenFrame frame;
    frame.resize(1400, 700);
    auto* content = new QWidget;
    content->setMinimumHeight(2000);
    frame.addWidget(content);
    frame.show();
    test::settleLayouts();

    ASSERT_NE(frame.scrollArea(), nullptr);
    EXPECT_EQ(frame.scrollArea()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(frame.scrollArea()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_GT(frame.scrollArea()->verticalScrollBar()->maximum(), 0);
    const QRect column = frame.columnWidget()->geometry();
    EXPECT_EQ(column.width(), 980);
    EXPECT_EQ(column.left(), (1400 - 980) / 2);
    EXPECT_EQ(content->geometry().left(), 26);
    EXPECT_EQ(content->geometry().top(), 26);
    EXPECT_EQ(frame.column()->spacing(), 18);

    const int rangeWithoutBar = frame.scrollArea()->verticalScrollBar()->maximum();
    EXPECT_EQ(frame.bottomInset(), 0);
    auto* bar = new QWidget;
    bar->setFixedHeight(60);
    frame.setBottomBar(bar);
    test::settleLayouts();
    EXPECT_TRUE(bar->isVisible());
    // The bar lines up with the column's content, 18 above the bottom edge.
    const QRect inFrame(bar->mapTo(&frame, QPoint(0, 0)), bar->size());
    EXPECT_EQ(inFrame.left(), column.left() + 26);
    EXPECT_EQ(inFrame.right(), column.right() - 26);
    EXPECT_EQ(frame.height() - inFrame.bottom() - 1, 18);
    // The content scrolls behind it, and its range ends above it.
    EXPECT_EQ(frame.scrollArea()->geometry().bottom(), frame.height() - 1);
    EXPECT_EQ(frame.bottomInset(), 78);
    EXPECT_EQ(frame.scrollArea()->verticalScrollBar()->maximum(), rangeWithoutBar + 78);
    EXPECT_EQ(ScreenFrame::barRect({700, 500}, {}, 60), QRect(26, 422, 648, 60));

    frame.setBottomBar(nullptr);
    test::settleLayouts();
    EXPECT_EQ(frame.bottomInset(), 0);
    EXPECT_EQ(frame.scrollArea()->verticalScrollBar()->maximum(), rangeWithoutBar);
}

TEST(ScreenFrame, TheActionBarsShadowIsCastOnTheContentAndLetsThePointerThrough)
{
    ScreenFrame frame;
    frame.resize(800, 600);
    auto* bar = new PrimaryActionBar(QStringLiteral("1 KB selected"), QStringLiteral("Move to Trash"),
                                     QStringLiteral("Clean"), true, false, Palette::accent(), [] {});
    frame.setBottomBar(bar);
    frame.show();
    test::settleLayouts();
    EXPECT_TRUE(bar->isShadowDrawnOutside());
    EXPECT_EQ(bar->surfaceRect(), QRectF(bar->rect()));
    EXPECT_EQ(bar->geometry().left(), 26);
    EXPECT_EQ(bar->geometry().right(), 800 - 26 - 1);
    auto* shadow = frame.findChild<QWidget*>(QStringLiteral("bottomBarShadow"));
    ASSERT_NE(shadow, nullptr);
    EXPECT_TRUE(shadow->isVisible());
    EXPECT_TRUE(shadow->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(shadow->geometry().contains(bar->geometry()));
    // Above the bar, within the shadow, the pointer reaches the content.
    const QPoint aboveBar(bar->geometry().center().x(), bar->geometry().top() - 4);
    QWidget* under = frame.childAt(aboveBar);
    EXPECT_NE(under, shadow);
    EXPECT_TRUE(frame.scrollArea()->isAncestorOf(under));
    QWidget* onBar = frame.childAt(bar->geometry().center());
    EXPECT_TRUE(onBar == bar || bar->isAncestorOf(onBar));
}

TEST(ScreenFrame, NarrowWindowsAndTheFixedKind)
{
    ScreenFrame frame({900, 22, 26}, ScreenFrame::Scrolling::fixed);
    auto* first = new QWidget;
    first->setFixedHeight(40);
    frame.addWidget(first);
    frame.resize(600, 500);
    frame.show();
    test::settleLayouts();
    EXPECT_EQ(frame.scrollArea(), nullptr);
    EXPECT_EQ(frame.columnWidget()->width(), 600);
    // Extra height stays below the elements.
    EXPECT_EQ(first->geometry().top(), 26);
    EXPECT_EQ(first->height(), 40);
}

TEST(HeaderRow, HeaderLeadsAndControlsTrailInOrder)
{
    HeaderRow row(QStringLiteral("Cleanup"), QStringLiteral("Caches, logs, trash and orphaned support files."),
                  QStringLiteral("trash.circle"));
    auto* first = new QWidget;
    first->setFixedSize(158, 24);
    auto* second = new QWidget;
    second->setFixedSize(80, 30);
    row.addControl(first);
    row.addControl(second);
    row.resize(900, 80);
    row.show();
    test::settleLayouts();
    EXPECT_EQ(row.header()->titleLabel()->text(), "Cleanup");
    EXPECT_EQ(row.header()->geometry().left(), 0);
    EXPECT_EQ(second->geometry().right(), 899);
    EXPECT_EQ(second->geometry().left() - first->geometry().right() - 1, 9);
    EXPECT_GE(first->geometry().left() - row.header()->geometry().right() - 1, 12);
    EXPECT_EQ(row.header()->geometry().top(), 0);
}

TEST(NoticeBlock, ShowsItsTextSymbolAndTint)
{
    NoticeBlock notice(QStringLiteral("info.circle.fill"), PaletteRole::info, QStringLiteral("First"));
    EXPECT_EQ(notice.text(), "First");
    notice.setText(QStringLiteral("Second"));
    EXPECT_EQ(notice.text(), "Second");
    EXPECT_EQ(notice.tint(), PaletteRole::info);
    EXPECT_EQ(notice.cornerRadius(), 14);
}

TEST(AdaptiveGrid, ColumnCountFitsTheWidth)
{
    struct Case {
        int width, minimum, spacing, expected;
    };
    for (const Case& c : {Case{0, 250, 14, 1}, Case{249, 250, 14, 1}, Case{513, 250, 14, 1}, Case{514, 250, 14, 2},
                          Case{928, 250, 14, 3}, Case{1042, 250, 14, 4}, Case{900, 300, 12, 2}}) {
        EXPECT_EQ(AdaptiveGrid::columns(c.width, c.minimum, c.spacing), c.expected) << c.width;
    }
}

TEST(AdaptiveGrid, FlowsItemsIntoEqualColumnsRowByRow)
{
    QWidget holder;
    auto* grid = new AdaptiveGrid(250, 14, &holder);
    QList<QWidget*> cells;
    for (int i = 0; i < 5; ++i) {
        auto* cell = new QWidget;
        cell->setMinimumHeight(i == 1 ? 90 : 60);
        cells.append(cell);
        grid->addWidget(cell);
    }
    holder.resize(800, 400);
    holder.show();
    test::settleLayouts();
    const int width = (800 - 2 * 14) / 3;
    EXPECT_EQ(cells[0]->geometry(), QRect(0, 0, width, 90));
    EXPECT_EQ(cells[2]->geometry().left(), 2 * (width + 14));
    EXPECT_EQ(cells[3]->geometry(), QRect(0, 90 + 14, width, 60));
    EXPECT_EQ(grid->heightForWidth(800), 90 + 14 + 60);
    EXPECT_EQ(grid->heightForWidth(200), 90 + 4 * 60 + 4 * 14);
}

} // namespace

namespace {

// The kit's pieces on one screen frame, drawn in light and dark to PNG files
// in the build tree for a person to look at.
TEST(ReviewKit, RendersItsPiecesInBothAppearances)
{
    Symbols::useIconTheme();
    test::ReviewModelFixture fixture;
    ScanSession& model = fixture.scans();
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/look");
    QDir().mkpath(folder);
    for (const auto& [appearance, name] : {std::pair{Appearance::light, QStringLiteral("kit-light.png")},
                                           std::pair{Appearance::dark, QStringLiteral("kit-dark.png")}}) {
        AuroraBackground root;
        Palette::setOwnAppearance(&root, appearance);
        auto* layout = new QVBoxLayout(&root);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* frame = new ScreenFrame;
        layout->addWidget(frame);
        auto* header =
            new HeaderRow(QStringLiteral("Cleanup"), QStringLiteral("Caches, logs, trash and orphaned support files."),
                          QStringLiteral("trash.circle"));
        header->addControl(new RemovalModePicker(model));
        header->addControl(new ScanButton(
            model, ScanButton::scanning(model, {ScanCategory::trash}, [] { return QStringLiteral("Scan All"); })));
        frame->addWidget(header);
        auto* summary = new SummaryRow(QStringLiteral("Free after clean"));
        summary->setValues(3200000000, 1250000000, 88000000000);
        frame->addWidget(summary);
        frame->addWidget(new NoticeBlock(QStringLiteral("info.circle.fill"), PaletteRole::info,
                                         QString::fromUtf8("Files over 100 MB that you have not opened in a year. "
                                                           "Nothing is selected automatically \xE2\x80\x94 reveal "
                                                           "each one and decide.")));
        auto* tiles = new QWidget;
        auto* grid = new AdaptiveGrid(250, 14, tiles);
        for (int i = 0; i < 5; ++i) {
            grid->addWidget(new SummaryStat(QStringLiteral("Tile ") + QString::number(i), QStringLiteral("12 MB"),
                                            QStringLiteral("doc"), PaletteRole::accent));
        }
        frame->addWidget(tiles);
        frame->setBottomBar(new PrimaryActionBar(QStringLiteral("1.3 GB selected"),
                                                 RemovalModePicker::title(model.cleanupMode()), QStringLiteral("Clean"),
                                                 true, false, Palette::accent(), [] {}));
        root.resize(1000, 640);
        root.show();
        test::settleLayouts();
        const QString path = QDir(folder).filePath(name);
        EXPECT_TRUE(root.grab().save(path)) << path.toStdString();
    }
}

} // namespace
