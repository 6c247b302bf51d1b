#include "ui/cleaning/SmartScanView.h"
#include "model/AppModelSetup.h"
#include "model/FakeEngine.h"
#include "platform/Clock.h"
#include "shared/MemoryDefaults.h"
#include "support/EventWait.h"
#include "support/QtPrinters.h"
#include "ui/ScreenFixtures.h"
#include "ui/cleaning/CategorySummaryCard.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/PrimaryActionBar.h"
#include "ui/components/ProgressRing.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenServices.h"
#include "ui/components/StatTile.h"
#include "ui/performance/PerformancePresentation.h"
#include "ui/shell/DetailScreen.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::ScanScript;
using harborlite::test::waitFor;

namespace {

const QDateTime kNow = QDateTime(QDate(2026, 3, 10), QTime(12, 0), Qt::UTC);

ScanItem item(qint64 size, bool selected = true)
{
    ScanItem made;
    made.url = QStringLiteral("/x/") + QString::number(size);
    made.displayName = QStringLiteral("x");
    made.size = size;
    made.isSelected = selected;
    return made;
}

CategoryResult result(ScanCategory category, QList<ScanItem> items)
{
    ScanGroup group;
    group.title = QStringLiteral("Group");
    group.items = std::move(items);
    return {category, {group}, kNow};
}

SmartScanInputs inputs(std::map<ScanCategory, CategoryResult> results = {})
{
    SmartScanInputs made;
    made.results = std::move(results);
    made.smartScanMessage = QStringLiteral("Ready to scan");
    return made;
}

} // namespace

// Presentation --------------------------------------------------------------

TEST(SmartScanPresentation, BeforeAnyScanShowsTheInvitationOnly)
{
    const SmartScanPresentation shown = SmartScan::present(inputs());
    EXPECT_FALSE(shown.hasResults);
    EXPECT_EQ(shown.center,
              (DialCenter{DialCenter::Kind::ready, QString(), QStringLiteral("Ready when you are"),
                          PaletteRole::inkSecondary}));
    EXPECT_EQ(shown.primary, (PrimaryButtonLook{QStringLiteral("Scan"), PaletteRole::accent}));
    EXPECT_FALSE(shown.showsReviewDetails);
    EXPECT_FALSE(shown.lastScanLine.has_value());
    EXPECT_FALSE(shown.showsSummary);
    EXPECT_EQ(shown.ringProgress, 0);
    EXPECT_FALSE(shown.ringIsIndeterminate);
}

// With nothing to show the dial rests on its track, whatever progress the
// model kept from the scan before a clean or a stop; with results the ring
// keeps the progress the scan left.
TEST(SmartScanPresentation, TheRingRestsOnItsTrackWithoutResults)
{
    for (double left : {1.0, 0.4}) {
        SmartScanInputs in = inputs();
        in.smartScanProgress = left;
        in.lastSmartScan = kNow;
        EXPECT_EQ(SmartScan::present(in).center.kind, DialCenter::Kind::ready);
        EXPECT_EQ(SmartScan::present(in).ringProgress, 0) << left;
        EXPECT_FALSE(SmartScan::present(in).ringIsIndeterminate);

        in = inputs({{ScanCategory::trash, result(ScanCategory::trash, {item(10)})}});
        in.smartScanProgress = left;
        EXPECT_EQ(SmartScan::present(in).ringProgress, left);
    }
}

TEST(SmartScanPresentation, ScanningShowsPercentMessageAndStop)
{
    struct Case {
        double progress;
        bool indeterminate;
        QString percent;
    };
    for (const Case& c : {Case{0, true, QStringLiteral("0%")}, Case{0.004, true, QStringLiteral("0%")},
                          Case{0.005, false, QStringLiteral("0%")}, Case{0.006, false, QStringLiteral("1%")},
                          Case{0.5, false, QStringLiteral("50%")}}) {
        SmartScanInputs in = inputs({{ScanCategory::systemJunk, result(ScanCategory::systemJunk, {item(10)})}});
        in.isSmartScanning = true;
        in.smartScanProgress = c.progress;
        in.smartScanMessage = QStringLiteral("Scanning Trash\u2026");
        in.lastSmartScan = kNow;
        const SmartScanPresentation shown = SmartScan::present(in);
        EXPECT_EQ(shown.ringIsIndeterminate, c.indeterminate) << c.progress;
        EXPECT_EQ(shown.ringProgress, c.progress);
        EXPECT_EQ(shown.center.kind, DialCenter::Kind::progress);
        EXPECT_EQ(shown.center.firstLine, c.percent) << c.progress;
        EXPECT_EQ(shown.center.secondLine, QStringLiteral("Scanning Trash\u2026"));
        EXPECT_EQ(shown.center.secondLineRole, PaletteRole::inkSecondary);
        EXPECT_EQ(shown.primary, (PrimaryButtonLook{QStringLiteral("Stop"), PaletteRole::danger}));
        EXPECT_FALSE(shown.showsReviewDetails);
        EXPECT_FALSE(shown.lastScanLine.has_value());
        EXPECT_TRUE(shown.showsSummary);
    }
}

TEST(SmartScanPresentation, TotalsCountOnlySmartScanCategories)
{
    struct Case {
        const char* name;
        std::map<ScanCategory, CategoryResult> results;
        QString value;
        QString unit;
        qint64 selected;
        QString barTitle;
        bool enabled;
    };
    const std::vector<Case> cases = {
        {"empty result",
         {{ScanCategory::trash, result(ScanCategory::trash, {})}},
         QStringLiteral("0.00"),
         QStringLiteral("B to reclaim"),
         0,
         QStringLiteral("0 KB selected"),
         false},
        {"all deselected",
         {{ScanCategory::trash, result(ScanCategory::trash, {item(2'500'000, false)})}},
         QStringLiteral("2.50"),
         QStringLiteral("MB to reclaim"),
         0,
         QStringLiteral("0 KB selected"),
         false},
        {"one selected",
         {{ScanCategory::trash, result(ScanCategory::trash, {item(2'500'000, false), item(1'000)})}},
         QStringLiteral("2.50"),
         QStringLiteral("MB to reclaim"),
         1'000,
         QStringLiteral("1 KB selected"),
         true},
        {"other screens' categories left out",
         {{ScanCategory::privacy, result(ScanCategory::privacy, {item(150'000)})},
          {ScanCategory::largeAndOld, result(ScanCategory::largeAndOld, {item(9'000'000)})},
          {ScanCategory::duplicates, result(ScanCategory::duplicates, {item(9'000'000)})}},
         QStringLiteral("150"),
         QStringLiteral("KB to reclaim"),
         150'000,
         QStringLiteral("150 KB selected"),
         true},
    };
    for (const Case& c : cases) {
        SmartScanInputs in = inputs(c.results);
        in.lastSmartScan = kNow.addSecs(-7200);
        const platform::Seam<QDateTime>::Override clock(platform::clock(), kNow);
        const SmartScanPresentation shown = SmartScan::present(in);
        EXPECT_TRUE(shown.hasResults) << c.name;
        EXPECT_EQ(shown.center, (DialCenter{DialCenter::Kind::total, c.value, c.unit, PaletteRole::accentDeep}))
            << c.name;
        EXPECT_EQ(shown.primary, (PrimaryButtonLook{QStringLiteral("Scan Again"), PaletteRole::accent})) << c.name;
        EXPECT_TRUE(shown.showsReviewDetails) << c.name;
        EXPECT_EQ(shown.lastScanLine, QStringLiteral("Last scan 2 hr. ago")) << c.name;
        EXPECT_EQ(shown.selectedTotal, c.selected) << c.name;
        EXPECT_EQ(shown.bar.title, c.barTitle) << c.name;
        EXPECT_EQ(shown.bar.isEnabled, c.enabled) << c.name;
        EXPECT_EQ(shown.bar.buttonTitle, QStringLiteral("Clean")) << c.name;
        EXPECT_EQ(shown.bar.tint, PaletteRole::accent) << c.name;
    }
}

TEST(SmartScanPresentation, OnlyOtherCategoriesMeansNoResults)
{
    const SmartScanPresentation shown =
        SmartScan::present(inputs({{ScanCategory::duplicates, result(ScanCategory::duplicates, {item(5)})}}));
    EXPECT_FALSE(shown.hasResults);
    EXPECT_EQ(shown.primary.title, QStringLiteral("Scan"));
    EXPECT_FALSE(shown.showsSummary);
}

TEST(SmartScanPresentation, BarDetailFollowsModeAndBusyFollowsCleaning)
{
    const std::vector<std::pair<Remover::Mode, QString>> cases = {
        {Remover::Mode::trash, QStringLiteral("Items move to the Trash so you can put them back.")},
        {Remover::Mode::permanent, QStringLiteral("Items are removed permanently.")},
        {Remover::Mode::shred, QStringLiteral("Items are removed permanently.")},
    };
    for (const auto& [mode, detail] : cases) {
        SmartScanInputs in = inputs({{ScanCategory::systemJunk, result(ScanCategory::systemJunk, {item(5)})}});
        in.cleanupMode = mode;
        in.isCleaning = mode == Remover::Mode::shred;
        const SmartScanPresentation shown = SmartScan::present(in);
        EXPECT_EQ(shown.bar.detail, detail) << rawValue(mode).toStdString();
        EXPECT_EQ(shown.bar.isBusy, mode == Remover::Mode::shred);
    }
}

TEST(SmartScanPresentation, TheRingShowsWorkForAsLongAsTheScanRuns)
{
    SmartScanInputs in = inputs();
    EXPECT_FALSE(SmartScan::present(in).ringShowsWork);
    in.isSmartScanning = true;
    for (const double progress : {0.0, 0.02, 0.5}) {
        in.smartScanProgress = progress;
        EXPECT_TRUE(SmartScan::present(in).ringShowsWork) << progress;
    }
}

TEST(SmartScanPresentation, RightAfterAScanTheLastScanWasZeroSecondsAgo)
{
    const platform::Seam<QDateTime>::Override clock(platform::clock(), kNow);
    for (const qint64 msecs : {0, -1, -600}) {
        SmartScanInputs in = inputs({{ScanCategory::trash, result(ScanCategory::trash, {item(5)})}});
        in.lastSmartScan = kNow.addMSecs(msecs);
        EXPECT_EQ(SmartScan::present(in).lastScanLine, QStringLiteral("Last scan 0 sec. ago")) << msecs;
    }
}

TEST(SmartScanPresentation, TrashModeSaysWhenTrashedItemsAreDeletedForGood)
{
    const QString back = QStringLiteral("Items move to the Trash so you can put them back.");
    const QString forGood = back + QStringLiteral(" Items already in the Trash are deleted for good.");
    const struct {
        const char* name;
        Remover::Mode mode;
        bool trashSelected;
        QString detail;
    } cases[] = {
        {"trash mode, trashed items selected", Remover::Mode::trash, true, forGood},
        {"trash mode, trashed items left out", Remover::Mode::trash, false, back},
        {"permanent mode", Remover::Mode::permanent, true, QStringLiteral("Items are removed permanently.")},
        {"shred mode", Remover::Mode::shred, true, QStringLiteral("Items are removed permanently.")},
    };
    for (const auto& c : cases) {
        SmartScanInputs in = inputs({
            {ScanCategory::systemJunk, result(ScanCategory::systemJunk, {item(5)})},
            {ScanCategory::trash, result(ScanCategory::trash, {item(7, c.trashSelected), item(9, false)})},
        });
        in.cleanupMode = c.mode;
        const SmartScanPresentation shown = SmartScan::present(in);
        EXPECT_EQ(shown.bar.detail, c.detail) << c.name;
        EXPECT_EQ(shown.selectsTrashedItems, c.trashSelected) << c.name;
    }
}

TEST(SmartScanPresentation, SystemStripTexts)
{
    struct Case {
        const char* name;
        SystemSnapshot snapshot;
        std::array<QString, 3> values;
        std::array<QString, 3> captions;
        std::array<double, 3> fractions;
    };
    SystemSnapshot busy;
    busy.cpuUsage = 0.42;
    busy.cpuUser = 0.3;
    busy.cpuSystem = 0.12;
    busy.memoryUsed = 4'000'000'000;
    busy.memoryTotal = 16'000'000'000;
    busy.swapUsed = 0;
    busy.diskFree = 100'000'000'000;
    busy.diskTotal = 400'000'000'000;
    SystemSnapshot overfull;
    overfull.memoryUsed = 5;
    overfull.diskFree = 500;
    overfull.diskTotal = 100;
    const std::vector<Case> cases = {
        {"initial",
         {},
         {QStringLiteral("0%"), QStringLiteral("0 KB"), QStringLiteral("0 KB")},
         {QStringLiteral("User 0% \u00B7 System 0%"), QStringLiteral("of 0 KB \u00B7 swap 0 KB"),
          QStringLiteral("free of 0 KB")},
         {0, 0, 0}},
        {"busy",
         busy,
         {QStringLiteral("42%"), QStringLiteral("4 GB"), QStringLiteral("100 GB")},
         {QStringLiteral("User 30% \u00B7 System 12%"), QStringLiteral("of 16 GB \u00B7 swap 0 KB"),
          QStringLiteral("free of 400 GB")},
         {0.42, 0.25, 0.75}},
        {"free above total",
         overfull,
         {QStringLiteral("0%"), QStringLiteral("5 bytes"), QStringLiteral("500 bytes")},
         {QStringLiteral("User 0% \u00B7 System 0%"), QStringLiteral("of 0 KB \u00B7 swap 0 KB"),
          QStringLiteral("free of 100 bytes")},
         {0, 0, 0}},
    };
    for (const Case& c : cases) {
        const std::array<StatTileLook, 3> strip = SmartScan::systemStrip(c.snapshot);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(strip[i].value, c.values[i]) << c.name << " " << i;
            EXPECT_EQ(strip[i].caption, c.captions[i]) << c.name << " " << i;
            EXPECT_DOUBLE_EQ(strip[i].fraction, c.fractions[i]) << c.name << " " << i;
        }
        // The processor tile is the Performance screen's own.
        EXPECT_EQ(strip[0], PerformancePresentation::tiles(c.snapshot).at(0)) << c.name;
    }
    const std::array<StatTileLook, 3> strip = SmartScan::systemStrip({});
    EXPECT_EQ(strip[0],
              (StatTileLook{QStringLiteral("CPU"), QStringLiteral("0%"), strip[0].caption, 0, QStringLiteral("cpu"),
                            PaletteRole::accent}));
    EXPECT_EQ(strip[1].title, QStringLiteral("Memory"));
    EXPECT_EQ(strip[1].symbol, QStringLiteral("memorychip"));
    EXPECT_EQ(strip[1].tint, PaletteRole::accentDeep);
    EXPECT_EQ(strip[2].title, QStringLiteral("Storage"));
    EXPECT_EQ(strip[2].symbol, QStringLiteral("internaldrive"));
    EXPECT_EQ(strip[2].tint, PaletteRole::accentBright);
}

TEST(SmartScanPresentation, CardRoutes)
{
    for (ScanCategory category : ScanCategories::smartScan) {
        const Route expected = category == ScanCategory::malware ? Route::protection
            : category == ScanCategory::privacy                  ? Route::privacy
                                                                 : Route::cleanup;
        EXPECT_EQ(SmartScan::cardRoute(category), expected) << rawValue(category).toStdString();
    }
}

// The screen over a model with scripted scanners ------------------------------

namespace {

class SmartScanViewTest : public ::testing::Test {
protected:
    MemoryDefaults defaults;
    ScanScript script;
    std::shared_ptr<BackgroundRunner> runner = std::make_shared<BackgroundRunner>(4);
    std::mutex removedMutex;
    QStringList removed;
    std::shared_ptr<test::Gate> removeGate = std::make_shared<test::Gate>();
    std::unique_ptr<AppModel> model;
    std::unique_ptr<SmartScanView> view;
    ScreenServices services{[](const QStringList&) {}, [](const QString&) { return QIcon(); }, {}};

    SmartScanViewTest()
    {
        ModelEngine engine;
        engine.scanner = [this](ScanCategory category) { return script.scanner(category); };
        engine.remove = [this](const QStringList& locations, bool, Remover::Mode) {
            removeGate->pass();
            std::lock_guard lock(removedMutex);
            removed = locations;
            CleanupReport report;
            report.removed = int(locations.size());
            report.reclaimed = 1000 * locations.size();
            return report;
        };
        engine.hasFullDiskAccess = [] { return true; };
        engine.makeSampler = [] {
            return ModelEngine::Sampler([] {
                SystemSnapshot sample;
                sample.cpuUsage = 0.5;
                sample.cpuUser = 0.375;
                sample.cpuSystem = 0.125;
                sample.memoryUsed = 2'000'000'000;
                sample.memoryTotal = 8'000'000'000;
                sample.diskFree = 40'000'000'000;
                sample.diskTotal = 100'000'000'000;
                return sample;
            });
        };
        AppModel::Setup setup;
        setup.engine = engine;
        setup.updateConfiguration = QuorvaneConfiguration("harborlite", QUrl("http://127.0.0.1:9"));
        setup.bundleInformation = {};
        setup.systemVersion = {12, 0, 0};
        setup.runner = runner;
        setup.scheduleTick = [](QObject*, double, std::function<void()>) {};
        model = std::make_unique<AppModel>(defaults, setup);
        view = std::make_unique<SmartScanView>(
            model->scanSession(), model->monitorFeed(), [this](Route route) { model->setRoute(route); }, services);
        view->resize(1000, 900);
        view->show();
    }

    ~SmartScanViewTest() override
    {
        removeGate->open();
        script.releaseAll();
        view.reset();
        model.reset();
        runner->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    template <typename T>
    T* find(const QString& name) const
    {
        T* found = view->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    GlassCompatButton* scanButton() const { return find<GlassCompatButton>(QStringLiteral("scanButton")); }
    PrimaryActionBar* bar() const
    {
        EXPECT_NE(view->actionBar(), nullptr);
        return view->actionBar();
    }
    CategorySummaryCard* card(ScanCategory category) const
    {
        return find<CategorySummaryCard>(QStringLiteral("summaryCard_") + rawValue(category));
    }
    bool showing(const char* name) const
    {
        QWidget* widget = find<QWidget>(QString::fromLatin1(name));
        return widget && widget->isVisibleTo(view.get());
    }
    // Lets the screen's queued refresh run.
    void settle() { QCoreApplication::sendPostedEvents(); }
    void holdAll()
    {
        for (ScanCategory category : ScanCategories::smartScan) {
            script.hold(category);
        }
    }
};

} // namespace

TEST_F(SmartScanViewTest, IdleShowsTheDialAloneWithScan)
{
    EXPECT_EQ(scanButton()->text(), QStringLiteral("Scan"));
    EXPECT_EQ(scanButton()->tint().light, Palette::accent().light);
    EXPECT_FALSE(showing("reviewButton"));
    EXPECT_FALSE(showing("lastScanLine"));
    EXPECT_FALSE(showing("summaryGrid"));
    EXPECT_EQ(view->actionBar(), nullptr);
    EXPECT_TRUE(showing("dialBrandMark"));
    EXPECT_EQ(find<RoleLabel>(QStringLiteral("dialCaption"))->text(), QStringLiteral("Ready when you are"));
    auto* ring = find<ProgressRing>(QStringLiteral("dialRing"));
    EXPECT_EQ(ring->progress(), 0);
    EXPECT_FALSE(ring->isIndeterminate());
    EXPECT_TRUE(showing("systemStrip"));
    EXPECT_EQ(find<StatTile>(QStringLiteral("stripTile0"))->value(), QStringLiteral("0%"));

    // The page is shorter than the screen: its parts keep their own heights
    // at the top and the space is left below them.
    for (int turn = 0; turn < 4; ++turn) {
        QCoreApplication::processEvents();
    }
    auto* header = find<QWidget>(QStringLiteral("header"));
    const int headerHeight =
        header->hasHeightForWidth() ? header->heightForWidth(header->width()) : header->sizeHint().height();
    EXPECT_EQ(header->height(), headerHeight);
    auto* dial = find<QWidget>(QStringLiteral("dial"));
    EXPECT_EQ(dial->height(), dial->sizeHint().height());
    EXPECT_EQ(dial->y(), header->geometry().bottom() + 1 + SmartScanView::kColumnSpacing);
}

TEST_F(SmartScanViewTest, AStepThatReportsNothingForLongStillMovesTheDial)
{
    holdAll();
    script.setReports(ScanCategory::systemJunk, {{0.16, QStringLiteral("Reading user caches\u2026"), 0}});
    QTest::mouseClick(scanButton(), Qt::LeftButton);
    auto* ring = find<ProgressRing>(QStringLiteral("dialRing"));
    waitFor([&] {
        return find<RoleLabel>(QStringLiteral("dialCaption"))->text() == QStringLiteral("Reading user caches\u2026")
            && !ring->isIndeterminate();
    });
    // The progress stands at 2% while the step goes on, but the ring moves.
    EXPECT_EQ(find<RoleLabel>(QStringLiteral("dialValue"))->text(), QStringLiteral("2%"));
    EXPECT_TRUE(ring->isWorking());
    ASSERT_TRUE(ring->isMoving());
    const QImage first = ring->grab().toImage();
    QImage later = first;
    test::waitFor([&] {
        later = ring->grab().toImage();
        return later != first;
    });
    EXPECT_NE(later, first);
    const QString folder = QCoreApplication::applicationDirPath();
    view->grab().save(folder + QStringLiteral("/smart-scan-long-step-a.png"));
    first.save(folder + QStringLiteral("/smart-scan-ring-a.png"));
    later.save(folder + QStringLiteral("/smart-scan-ring-b.png"));

    QTest::mouseClick(scanButton(), Qt::LeftButton);
    script.wakeAll();
    waitFor([&] { return !model->isSmartScanning(); });
    settle();
    EXPECT_FALSE(ring->isWorking());
}

TEST_F(SmartScanViewTest, WholeCycleScanStopReviewClean)
{
    holdAll();
    script.setReports(ScanCategory::trash, {{0.5, QStringLiteral("Reading the Trash\u2026"), 0}});
    QTest::mouseClick(scanButton(), Qt::LeftButton);
    waitFor([&] {
        return model->runningCategories().contains(ScanCategory::systemJunk)
            && view->presentation().primary.title == QStringLiteral("Stop");
    });
    // Scanning, nothing stored yet: percentage, the danger Stop, no grid.
    EXPECT_EQ(scanButton()->text(), QStringLiteral("Stop"));
    EXPECT_EQ(scanButton()->tint().light, Palette::danger().light);
    EXPECT_EQ(find<RoleLabel>(QStringLiteral("dialValue"))->text(), QStringLiteral("0%"));
    EXPECT_TRUE(find<ProgressRing>(QStringLiteral("dialRing"))->isIndeterminate());
    EXPECT_FALSE(showing("summaryGrid"));
    EXPECT_FALSE(showing("reviewButton"));

    // The first category ends: the grid appears with its card filled in and
    // the next one scanning.
    script.release(ScanCategory::systemJunk);
    waitFor([&] {
        return card(ScanCategory::trash)->currentLook().statusText == QStringLiteral("Scanning\u2026")
            && view->presentation().ringProgress > 0.125;
    });
    EXPECT_TRUE(showing("summaryGrid"));
    EXPECT_EQ(card(ScanCategory::systemJunk)->currentLook().statusText, QStringLiteral("1 item(s) found"));
    EXPECT_EQ(card(ScanCategory::privacy)->currentLook().statusText, blurb(ScanCategory::privacy));
    EXPECT_EQ(find<RoleLabel>(QStringLiteral("dialValue"))->text(), QStringLiteral("19%"));
    EXPECT_EQ(find<RoleLabel>(QStringLiteral("dialCaption"))->text(), QStringLiteral("Reading the Trash\u2026"));
    EXPECT_FALSE(find<ProgressRing>(QStringLiteral("dialRing"))->isIndeterminate());
    EXPECT_TRUE(bar()->isVisibleTo(view.get()));
    EXPECT_EQ(bar()->titleLabel()->text(), QStringLiteral("1 KB selected"));
    EXPECT_EQ(scanButton()->text(), QStringLiteral("Stop"));
    view->grab().save(QCoreApplication::applicationDirPath() + QStringLiteral("/smart-scan-scanning.png"));

    // Stop: the results state with what was found.
    QTest::mouseClick(scanButton(), Qt::LeftButton);
    script.wakeAll();
    waitFor([&] {
        return !model->isSmartScanning() && view->presentation().primary.title == QStringLiteral("Scan Again");
    });
    runner->waitForDone();
    settle();
    settle();
    EXPECT_EQ(scanButton()->text(), QStringLiteral("Scan Again"));
    EXPECT_TRUE(showing("reviewButton"));
    EXPECT_TRUE(showing("lastScanLine"));
    EXPECT_TRUE(find<RoleLabel>(QStringLiteral("lastScanLine"))->text().startsWith(QStringLiteral("Last scan ")));
    EXPECT_EQ(find<RoleLabel>(QStringLiteral("dialCaption"))->text(), QStringLiteral("KB to reclaim"));
    EXPECT_TRUE(bar()->button()->isEnabled());
    EXPECT_EQ(bar()->detailLabel()->text(),
              QStringLiteral("Items move to the Trash so you can put them back. Items "
                             "already in the Trash are deleted for good."));

    // Review Details and a card lead to the reviewing screens.
    QTest::mouseClick(find<GlassCompatButton>(QStringLiteral("reviewButton")), Qt::LeftButton);
    EXPECT_EQ(model->route(), Route::cleanup);
    model->setRoute(Route::smartScan);

    // Clean: busy while removing, then back to the first state with the last
    // scan line kept.
    const QStringList expected = [&] {
        QStringList urls;
        for (ScanCategory category : ScanCategories::smartScan) {
            if (const auto found = model->result(category)) {
                urls.append(found->groups.at(0).items.at(0).url);
            }
        }
        return urls;
    }();
    QTest::mouseClick(bar()->button(), Qt::LeftButton);
    waitFor([&] { return view->presentation().bar.isBusy; });
    EXPECT_TRUE(bar()->button()->showsSpinner());
    EXPECT_FALSE(bar()->button()->isEnabled());
    removeGate->open();
    waitFor([&] { return !model->isCleaning() && !view->presentation().hasResults; });
    settle();
    {
        std::lock_guard lock(removedMutex);
        EXPECT_EQ(removed, expected);
    }
    EXPECT_EQ(scanButton()->text(), QStringLiteral("Scan"));
    EXPECT_FALSE(showing("summaryGrid"));
    EXPECT_EQ(view->actionBar(), nullptr);
    EXPECT_TRUE(showing("lastScanLine"));
    EXPECT_TRUE(showing("dialBrandMark"));
    // At rest again: the ring shows its track only, as before any scan.
    EXPECT_EQ(find<ProgressRing>(QStringLiteral("dialRing"))->progress(), 0);
    ASSERT_TRUE(model->banner().has_value());
    EXPECT_EQ(model->banner()->title, QStringLiteral("Cleanup complete"));
}

TEST_F(SmartScanViewTest, PrimaryButtonDecidesAtPressTime)
{
    holdAll();
    // Two presses before the screen has redrawn: the first starts, the second
    // (whatever the title still says) stops.
    QTest::mouseClick(scanButton(), Qt::LeftButton);
    EXPECT_TRUE(model->isSmartScanning());
    QTest::mouseClick(scanButton(), Qt::LeftButton);
    EXPECT_FALSE(model->isSmartScanning());
    EXPECT_EQ(model->smartScanMessage(), QStringLiteral("Scan cancelled"));
    script.wakeAll();
    waitFor([&] { return model->runningCategories().empty(); });
}

TEST_F(SmartScanViewTest, CardsLeadToTheirScreens)
{
    script.setItemSize(0);
    QTest::mouseClick(scanButton(), Qt::LeftButton);
    waitFor([&] {
        return !model->isSmartScanning() && view->presentation().primary.title == QStringLiteral("Scan Again");
    });
    settle();
    // Items of no size: counts show, the bar offers nothing to clean.
    EXPECT_EQ(card(ScanCategory::trash)->currentLook().sizeText, QStringLiteral("0 KB"));
    EXPECT_EQ(bar()->titleLabel()->text(), QStringLiteral("0 KB selected"));
    EXPECT_FALSE(bar()->button()->isEnabled());
    for (ScanCategory category : ScanCategories::smartScan) {
        model->setRoute(Route::smartScan);
        QTest::mouseClick(card(category), Qt::LeftButton);
        EXPECT_EQ(model->route(), SmartScan::cardRoute(category)) << rawValue(category).toStdString();
    }
}

TEST_F(SmartScanViewTest, DeselectingEverythingDisablesClean)
{
    QTest::mouseClick(scanButton(), Qt::LeftButton);
    waitFor([&] { return !model->isSmartScanning() && view->presentation().hasResults; });
    settle();
    EXPECT_EQ(bar()->titleLabel()->text(), QStringLiteral("8 KB selected"));
    // The bar shows its look as the review screens' bars show theirs.
    EXPECT_EQ(test::shownBar(bar()), view->presentation().bar);
    for (ScanCategory category : ScanCategories::smartScan) {
        const CategoryResult found = *model->result(category);
        model->toggleItem(found.groups.at(0).items.at(0), category);
    }
    settle();
    EXPECT_EQ(bar()->titleLabel()->text(), QStringLiteral("0 KB selected"));
    EXPECT_FALSE(bar()->button()->isEnabled());
    EXPECT_EQ(test::shownBar(bar()), view->presentation().bar);
    const CategoryResult trash = *model->result(ScanCategory::trash);
    model->toggleItem(trash.groups.at(0).items.at(0), ScanCategory::trash);
    model->setCleanupMode(Remover::Mode::shred);
    settle();
    EXPECT_EQ(bar()->titleLabel()->text(), QStringLiteral("1 KB selected"));
    EXPECT_TRUE(bar()->button()->isEnabled());
    EXPECT_EQ(bar()->detailLabel()->text(), QStringLiteral("Items are removed permanently."));
    EXPECT_EQ(test::shownBar(bar()), view->presentation().bar);
}

TEST_F(SmartScanViewTest, TheDetailAreaBuildsTheScreenForItsRoute)
{
    std::unique_ptr<QWidget> screen(makeDetailScreen(Route::smartScan, *model, services, nullptr));
    EXPECT_NE(qobject_cast<SmartScanView*>(screen.get()), nullptr);
}

TEST_F(SmartScanViewTest, SamplesRefreshTheStripAndTheLastScanLine)
{
    {
        const platform::Seam<QDateTime>::Override clock(platform::clock(), kNow);
        QTest::mouseClick(scanButton(), Qt::LeftButton);
        waitFor([&] { return !model->isSmartScanning() && view->presentation().lastScanLine.has_value(); });
        runner->waitForDone();
        settle();
    }
    const platform::Seam<QDateTime>::Override later(platform::clock(), kNow.addSecs(3 * 3600));
    model->refreshSnapshot();
    auto* cpu = find<StatTile>(QStringLiteral("stripTile0"));
    waitFor([&] { return cpu->value() == QStringLiteral("50%"); });
    EXPECT_EQ(find<RoleLabel>(QStringLiteral("lastScanLine"))->text(), QStringLiteral("Last scan 3 hr. ago"));
    EXPECT_DOUBLE_EQ(find<StatTile>(QStringLiteral("stripTile1"))->fraction(), 0.25);
    EXPECT_EQ(find<StatTile>(QStringLiteral("stripTile2"))->value(), QStringLiteral("40 GB"));
    EXPECT_DOUBLE_EQ(find<StatTile>(QStringLiteral("stripTile2"))->fraction(), 0.6);
}
