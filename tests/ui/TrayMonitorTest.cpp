#include "TrayFixture.h"
#include "shared/Formatting.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/PlainSymbolButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/monitor/FittingLabel.h"
#include "ui/monitor/ModelMonitorInputs.h"
#include "ui/monitor/ProcessDot.h"
#include "ui/tray/MenuBarLabel.h"
#include "ui/tray/MenuBarPanel.h"
#include "ui/tray/PanelMonitorRow.h"
#include "ui/tray/TrayItem.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>

#include <gtest/gtest.h>

#include <algorithm>

using namespace harborlite;

namespace {

constexpr MonitorKind cpu = MonitorKind::cpu;
constexpr MonitorKind memory = MonitorKind::memory;
constexpr MonitorKind storage = MonitorKind::storage;
constexpr MonitorKind network = MonitorKind::network;
constexpr MonitorKind battery = MonitorKind::battery;
constexpr MonitorKind processes = MonitorKind::processes;
constexpr MonitorKind junk = MonitorKind::junk;

QList<MaintenanceTask> someTasks()
{
    MaintenanceTask free;
    free.id = QStringLiteral("freeRAM");
    free.requiredTool = QStringLiteral("/bin/sh");
    MaintenanceTask flush;
    flush.id = QStringLiteral("flushDNS");
    flush.requiredTool = QStringLiteral("/bin/sh");
    MaintenanceTask other;
    other.id = QStringLiteral("reindex");
    return {other, free, flush};
}

std::vector<double> ramp(int count)
{
    std::vector<double> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(i / 100.0);
    }
    return values;
}

class TrayTest : public testing::Test {
protected:
    test::TrayFixture fixture;
    bool trayAvailable = true;

    TrayTest() { fixture.makeTrayedModel(); }

    AppModel& model() { return *fixture.model; }

    std::unique_ptr<TrayItem> makeTray(QList<MaintenanceTask> tasks = someTasks())
    {
        return std::make_unique<TrayItem>(
            model(), [this] { return trayAvailable; }, std::move(tasks));
    }

    std::unique_ptr<MenuBarPanel> makePanel(QList<MaintenanceTask> tasks = someTasks())
    {
        return std::make_unique<MenuBarPanel>(model(), std::move(tasks));
    }
};

} // namespace

TEST(MenuBarLabel, KindsLeaveProcessesOutThenKeepTheFirstFour)
{
    const struct {
        const char* name;
        std::vector<MonitorKind> chosen;
        std::vector<MonitorKind> shown;
    } rows[] = {
        {"processes among six", {memory, processes, cpu, network, storage, battery}, {memory, cpu, network, storage}},
        {"only processes", {processes}, {}},
        {"nothing", {}, {}},
        {"the default", {cpu, memory, network}, {cpu, memory, network}},
        {"four stay whole", {junk, battery, cpu, memory}, {junk, battery, cpu, memory}},
        {"repeats are kept", {cpu, cpu, processes, cpu}, {cpu, cpu, cpu}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(MenuBarLabel::kinds(row.chosen), row.shown);
    }
}

TEST(MenuBarLabel, SummaryJoinsTheCompactReadingsWithAMiddleDot)
{
    MonitorInputs inputs;
    inputs.snapshot.cpuUsage = 0.42;
    inputs.snapshot.memoryUsed = 1'234'567;
    inputs.snapshot.networkIn = 2'000;
    const QString expected = monitorReading(cpu, inputs).compact + QStringLiteral(u" \u00B7 ")
        + monitorReading(memory, inputs).compact + QStringLiteral(u" \u00B7 ")
        + monitorReading(network, inputs).compact;
    EXPECT_EQ(MenuBarLabel::summary({cpu, memory, network}, inputs), expected);
    EXPECT_TRUE(MenuBarLabel::summary({cpu, memory, network}, inputs).startsWith(QStringLiteral("42%")));
    EXPECT_EQ(MenuBarLabel::summary({}, inputs), QString());
    EXPECT_EQ(MenuBarLabel::summary({cpu}, inputs), QStringLiteral("42%"));
}

TEST(MenuBarPanel, PresentationRules)
{
    EXPECT_EQ(MenuBarPanel::panelKinds(), (std::vector<MonitorKind>{cpu, memory, storage, network, battery, junk}));
    EXPECT_EQ(MenuBarPanel::statusLine(0), QStringLiteral("Monitoring"));
    EXPECT_EQ(MenuBarPanel::statusLine(-3), QStringLiteral("Monitoring"));
    EXPECT_EQ(MenuBarPanel::statusLine(3725), QStringLiteral("Up ") + Format::duration(3725));
    EXPECT_EQ(MenuBarPanel::task(someTasks(), QStringLiteral("flushDNS"))->id, QStringLiteral("flushDNS"));
    EXPECT_FALSE(MenuBarPanel::task(someTasks(), QStringLiteral("missing")).has_value());
}

TEST(MenuBarPanel, PlacementUnderTheIconInsideTheScreenElseAtTheTopRight)
{
    const QRect screen(0, 0, 1280, 800);
    const QSize size(348, 500);
    const int gap = MenuBarPanel::kGap;
    const struct {
        const char* name;
        QRect tray;
        QPoint expected;
    } rows[] = {
        {"centred under the icon", QRect(600, 0, 24, 24), QPoint(611 - 174, 24 + gap)},
        {"kept inside the right edge", QRect(1250, 0, 24, 24), QPoint(1280 - 348, 24 + gap)},
        {"kept inside the left edge", QRect(2, 0, 24, 24), QPoint(0, 24 + gap)},
        {"above an icon at the bottom", QRect(600, 776, 24, 24), QPoint(611 - 174, 776 - gap - 500)},
        {"no icon place: the top-right corner", QRect(), QPoint(1280 - gap - 348, gap)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(MenuBarPanel::placement(row.tray, size, screen), row.expected);
    }
    // A screen not at the origin, and one shorter than the panel.
    EXPECT_EQ(MenuBarPanel::placement(QRect(), size, QRect(1280, 0, 1024, 768)), QPoint(1280 + 1024 - gap - 348, gap));
    EXPECT_EQ(MenuBarPanel::placement(QRect(600, 200, 24, 24), size, QRect(0, 0, 1280, 400)).y(), 0);
}

TEST(PanelMonitorRow, SparklineShowsTheLast24ValuesAndNeedsTwo)
{
    PanelMonitorRow row(cpu);
    MonitorReading reading = monitorReading(cpu, {});
    EXPECT_FALSE(row.isSparklineShown());
    reading.series = {0.5};
    row.setReading(reading);
    EXPECT_FALSE(row.isSparklineShown());
    reading.series = ramp(90);
    row.setReading(reading);
    EXPECT_TRUE(row.isSparklineShown());
    const std::vector<double> shown = PanelMonitorRow::sparklineValues(reading.series);
    ASSERT_EQ(shown.size(), 24u);
    EXPECT_DOUBLE_EQ(shown.front(), 66 / 100.0);
    EXPECT_DOUBLE_EQ(shown.back(), 89 / 100.0);
    EXPECT_EQ(PanelMonitorRow::sparklineValues({0.1, 0.2}).size(), 2u);

    reading.headline = QStringLiteral("12.3 GB");
    reading.caption = QStringLiteral("of 16 GB");
    row.setReading(reading);
    EXPECT_EQ(row.findChild<FittingLabel*>(QStringLiteral("headline"))->text(), QStringLiteral("12.3 GB"));
    EXPECT_EQ(row.findChild<FittingLabel*>(QStringLiteral("headline"))->width(), PanelMonitorRow::kHeadlineWidth);
    EXPECT_EQ(row.findChild<RoleLabel*>(QStringLiteral("caption"))->text(), QStringLiteral("of 16 GB"));
    EXPECT_EQ(row.findChild<RoleLabel*>(QStringLiteral("title"))->text(), QStringLiteral("CPU"));
}

TEST_F(TrayTest, PanelShowsSixRowsWhateverTheSettingsSay)
{
    model().settings().setMenuBar({});
    auto panel = makePanel();
    EXPECT_EQ(panel->width(), MenuBarPanel::kWidth);
    std::vector<MonitorKind> kinds;
    for (PanelMonitorRow* row : panel->rows()) {
        kinds.push_back(row->kind());
    }
    EXPECT_EQ(kinds, MenuBarPanel::panelKinds());
    EXPECT_EQ(panel->statusLabel()->text(), QStringLiteral("Monitoring"));
    EXPECT_FALSE(panel->samplingLabel()->isHidden());
    EXPECT_EQ(panel->samplingLabel()->text(), QString::fromUtf8("Sampling\u2026"));
    EXPECT_EQ(panel->processRowCount(), 0);
    // Before the first sample every row reads the zero snapshot.
    EXPECT_EQ(panel->rows()[4]->reading(), monitorReading(battery, {}));
}

TEST_F(TrayTest, PanelFollowsTheModelAndShowsTheFourHeaviestProcesses)
{
    test::TrayFixture fresh;
    fresh.snapshot.uptime = 3725;
    fresh.snapshot.cpuUsage = 0.5;
    AppModel& live = fresh.makeTrayedModel();
    MenuBarPanel panel(live, someTasks());
    live.refreshSnapshot();
    test::waitFor([&] { return live.snapshot().uptime > 0; });
    fresh.setProcesses(test::TrayFixture::processList(40));
    fresh.sampleProcesses();
    panel.refresh();
    EXPECT_EQ(panel.statusLabel()->text(), QStringLiteral("Up ") + Format::duration(3725));
    EXPECT_EQ(panel.rows()[0]->reading(), monitorReading(cpu, monitorInputs(live)));
    EXPECT_TRUE(panel.samplingLabel()->isHidden());
    ASSERT_EQ(panel.processRowCount(), MenuBarPanel::kProcessRows);
    const QList<QWidget*> rows = panel.findChildren<QWidget*>(QStringLiteral("processRow"));
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0]->findChild<RoleLabel*>(QStringLiteral("name"))->text(), QStringLiteral("proc0"));
    EXPECT_EQ(rows[0]->findChild<RoleLabel*>(QStringLiteral("cpu"))->text(), QStringLiteral("90.0%"));
    EXPECT_EQ(rows[3]->findChild<RoleLabel*>(QStringLiteral("name"))->text(), QStringLiteral("proc3"));
}

TEST_F(TrayTest, ProcessRowsStayWhileTheHeaviestProcessesChange)
{
    fixture.setProcesses(test::TrayFixture::processList(4));
    fixture.sampleProcesses();
    auto panel = makePanel();
    const QList<QWidget*> rows = panel->findChildren<QWidget*>(QStringLiteral("processRow"));
    ASSERT_EQ(rows.size(), 4);

    QList<RunningProcess> next = test::TrayFixture::processList(4);
    std::reverse(next.begin(), next.end());
    next[0].pid = 900;
    next[0].name = QStringLiteral("newcomer");
    fixture.setProcesses(next);
    fixture.sampleProcesses();
    panel->refresh();
    EXPECT_EQ(panel->findChildren<QWidget*>(QStringLiteral("processRow")), rows);
    EXPECT_EQ(rows[0]->findChild<RoleLabel*>(QStringLiteral("name"))->text(), QStringLiteral("newcomer"));
    EXPECT_EQ(rows[3]->findChild<RoleLabel*>(QStringLiteral("name"))->text(), QStringLiteral("proc0"));

    fixture.setProcesses(test::TrayFixture::processList(2));
    fixture.sampleProcesses();
    panel->refresh();
    const QList<QWidget*> fewer = panel->findChildren<QWidget*>(QStringLiteral("processRow"));
    ASSERT_EQ(fewer.size(), 2);
    EXPECT_EQ(fewer[0], rows[0]);
    EXPECT_EQ(fewer[0]->findChild<RoleLabel*>(QStringLiteral("name"))->text(), QStringLiteral("proc0"));
}

TEST_F(TrayTest, ProcessDotsAndTheirOneDecimalShare)
{
    QList<RunningProcess> list = test::TrayFixture::processList(4);
    list[0].cpu = 123.456;
    list[1].cpu = 50.0;
    list[2].cpu = 15.1;
    list[3].cpu = 15.0;
    fixture.setProcesses(list);
    fixture.sampleProcesses();
    auto panel = makePanel();
    const QList<QWidget*> rows = panel->findChildren<QWidget*>(QStringLiteral("processRow"));
    ASSERT_EQ(rows.size(), 4);
    const PaletteRole expected[] = {PaletteRole::danger, PaletteRole::warning, PaletteRole::warning,
                                    PaletteRole::accent};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(rows[i]->findChild<ProcessDot*>()->currentRole(), expected[i]) << i;
    }
    EXPECT_EQ(rows[0]->findChild<RoleLabel*>(QStringLiteral("cpu"))->text(), QStringLiteral("123.5%"));
}

TEST_F(TrayTest, OpeningStartsMonitoringAndAProcessLoopThatClosingStops)
{
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        auto panel = makePanel();
        const int before = fixture.services->processSamples;
        panel->open({});
        EXPECT_TRUE(panel->isVisible());
        EXPECT_TRUE(panel->processRefresh().isRunning());
        EXPECT_EQ(panel->processRefresh().armedPause(), MenuBarPanel::kRefreshMilliseconds);
        // The first sample is asked for at once; each pass asks again.
        test::waitFor([&] { return fixture.services->processSamples > before; });
        panel->processRefresh().tick();
        test::waitFor([&] { return fixture.services->processSamples > before + 1; });
        panel->close();
        EXPECT_FALSE(panel->processRefresh().isRunning());
        EXPECT_EQ(panel->processRefresh().armedPause(), 0);
    }
    // The monitoring loop outlives the panel: the first sample was taken.
    test::waitFor([&] { return *fixture.samples > 0; });
}

TEST_F(TrayTest, NothingIsAskedWhileThePanelIsClosed)
{
    auto panel = makePanel();
    EXPECT_FALSE(panel->processRefresh().isRunning());
    fixture.runner->waitForDone();
    EXPECT_EQ(fixture.services->processSamples, 0);
}

TEST_F(TrayTest, MenuRunsTheTwoTasksByIdAndQuitAsksTheApplication)
{
    auto panel = makePanel();
    QStringList texts;
    for (const QAction* action : panel->menu()->actions()) {
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(texts, (QStringList{"Free Up Memory", "Flush DNS Cache", "-", "Quit Harborlite"}));
    EXPECT_EQ(panel->menuButton()->symbol(), QStringLiteral("ellipsis.circle"));
    EXPECT_EQ(panel->menuButton()->width(), 30);

    panel->freeMemoryAction()->trigger();
    test::waitFor([&] { return !model().runningMaintenance().has_value() && fixture.maintenanceRuns().size() == 1; });
    panel->flushDnsAction()->trigger();
    test::waitFor([&] { return fixture.maintenanceRuns().size() == 2 && !model().runningMaintenance(); });
    EXPECT_EQ(fixture.maintenanceRuns(), (QStringList{"freeRAM", "flushDNS"}));

    QSignalSpy quit(panel.get(), &MenuBarPanel::quitRequested);
    panel->quitAction()->trigger();
    EXPECT_EQ(quit.count(), 1);
}

TEST_F(TrayTest, AMissingTaskIdRunsNothing)
{
    auto panel = makePanel({});
    panel->freeMemoryAction()->trigger();
    panel->flushDnsAction()->trigger();
    fixture.runner->waitForDone();
    test::WindowFixture::settle();
    EXPECT_TRUE(fixture.maintenanceRuns().isEmpty());
    EXPECT_FALSE(model().runningMaintenance().has_value());
}

// A task whose tool this machine lacks is offered disabled, its tooltip naming
// the tool, as the maintenance card says it.
TEST_F(TrayTest, MenuItemsOfTasksWithoutTheirToolAreDisabledWithTheReason)
{
    QList<MaintenanceTask> tasks = someTasks();
    tasks[2].requiredTool = QStringLiteral("/nonexistent/resolvectl");
    auto panel = makePanel(tasks);
    emit panel->menu()->aboutToShow();
    EXPECT_TRUE(panel->menu()->toolTipsVisible());
    EXPECT_TRUE(panel->freeMemoryAction()->isEnabled());
    EXPECT_EQ(panel->freeMemoryAction()->toolTip(), QStringLiteral("Free Up Memory"));
    EXPECT_FALSE(panel->flushDnsAction()->isEnabled());
    EXPECT_EQ(panel->flushDnsAction()->toolTip(),
              QStringLiteral("Needs /nonexistent/resolvectl, which is not installed here."));
    panel->flushDnsAction()->trigger();
    fixture.runner->waitForDone();
    test::WindowFixture::settle();
    EXPECT_TRUE(fixture.maintenanceRuns().isEmpty());

    tasks[2].requiredTool = QStringLiteral("/bin/sh");
    auto another = makePanel(tasks);
    another->refresh();
    EXPECT_TRUE(another->flushDnsAction()->isEnabled());
}

TEST_F(TrayTest, SmartScanOpensTheWindowThenRoutesThenScansAndIsDimmedWhileOneRuns)
{
    model().setRoute(Route::cleanup);
    auto panel = makePanel();
    panel->open({});
    QStringList order;
    QObject::connect(panel.get(), &MenuBarPanel::openWindowRequested, [&] {
        order.append(QStringLiteral("open"));
        EXPECT_EQ(model().route(), Route::cleanup);
    });
    QObject::connect(&model(), &AppModel::routeChanged, [&] { order.append(QStringLiteral("route")); });
    QObject::connect(&model(), &AppModel::isSmartScanningChanged, [&] {
        if (model().isSmartScanning()) {
            order.append(QStringLiteral("scan"));
        }
    });
    const auto gate = fixture.script.hold(ScanCategory::systemJunk);
    panel->smartScanButton()->click();
    EXPECT_EQ(order, (QStringList{"open", "route", "scan"}));
    EXPECT_EQ(model().route(), Route::smartScan);
    EXPECT_FALSE(panel->isVisible());

    auto second = makePanel();
    EXPECT_FALSE(second->smartScanButton()->isEnabled());
    EXPECT_TRUE(second->openButton()->isEnabled());
    QSignalSpy opened(second.get(), &MenuBarPanel::openWindowRequested);
    second->openButton()->click();
    EXPECT_EQ(opened.count(), 1);
    fixture.script.releaseAll();
    test::waitFor([&] { return !model().isSmartScanning(); });
    second->refresh();
    EXPECT_TRUE(second->smartScanButton()->isEnabled());
}

TEST_F(TrayTest, TrayIconTipIsTheSummaryAndActivationTogglesThePanel)
{
    model().settings().setMenuBar({processes});
    auto tray = makeTray();
    ASSERT_TRUE(tray->isInserted());
    EXPECT_EQ(tray->icon()->toolTip(), QStringLiteral("Harborlite"));
    model().settings().setMenuBar({cpu, memory});
    test::WindowFixture::settle();
    EXPECT_EQ(tray->icon()->toolTip(), MenuBarLabel::summary({cpu, memory}, monitorInputs(model())));
    EXPECT_FALSE(tray->icon()->icon().isNull());

    EXPECT_FALSE(tray->isPanelOpen());
    emit tray->icon()->activated(QSystemTrayIcon::Trigger);
    ASSERT_TRUE(tray->isPanelOpen());
    QSignalSpy opened(tray.get(), &TrayItem::openWindowRequested);
    QSignalSpy quit(tray.get(), &TrayItem::quitRequested);
    tray->panel()->quitAction()->trigger();
    EXPECT_EQ(quit.count(), 1);
    emit tray->icon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(tray->isPanelOpen());
    emit tray->icon()->activated(QSystemTrayIcon::Context);
    ASSERT_TRUE(tray->isPanelOpen());
    tray->panel()->openButton()->click();
    EXPECT_EQ(opened.count(), 1);
    EXPECT_FALSE(tray->isPanelOpen());
}

TEST_F(TrayTest, SwitchingTheMonitorOffRemovesTheIconAndClosesThePanel)
{
    auto tray = makeTray();
    QSignalSpy changed(tray.get(), &TrayItem::insertedChanged);
    tray->togglePanel();
    ASSERT_TRUE(tray->isPanelOpen());
    model().settings().setShowMenuBarMonitor(false);
    EXPECT_FALSE(tray->isInserted());
    EXPECT_FALSE(tray->isPanelOpen());
    EXPECT_EQ(changed.count(), 1);
    model().settings().setShowMenuBarMonitor(true);
    EXPECT_TRUE(tray->isInserted());
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(TrayTest, ATrayThatGoesWhileThePanelIsOpenLeavesThePanelUntilDismissed)
{
    auto tray = makeTray();
    tray->togglePanel();
    ASSERT_TRUE(tray->isPanelOpen());
    QSignalSpy changed(tray.get(), &TrayItem::insertedChanged);
    QSignalSpy closed(tray.get(), &TrayItem::panelClosed);
    trayAvailable = false;
    tray->refresh();
    EXPECT_FALSE(tray->isInserted());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(tray->isPanelOpen());
    // Its loop and readings go on without the icon.
    EXPECT_TRUE(tray->panel()->processRefresh().isRunning());
    model().refreshSnapshot();
    test::WindowFixture::settle();
    tray->panel()->close();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(tray->isPanelOpen());

    // A tray that starts later gets the icon back.
    trayAvailable = true;
    tray->refresh();
    EXPECT_TRUE(tray->isInserted());
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(TrayTest, TheTrayIsLookedForAgainWhileThePreferenceIsOn)
{
    trayAvailable = false;
    auto tray = makeTray();
    EXPECT_FALSE(tray->isInserted());
    const QTimer* check = &tray->trayCheck();
    EXPECT_TRUE(check->isActive());
    EXPECT_EQ(check->interval(), TrayItem::kTrayCheckMilliseconds);
    trayAvailable = true;
    QSignalSpy changed(tray.get(), &TrayItem::insertedChanged);
    ASSERT_TRUE(changed.wait(10 * TrayItem::kTrayCheckMilliseconds));
    EXPECT_TRUE(tray->isInserted());
    model().settings().setShowMenuBarMonitor(false);
    EXPECT_FALSE(check->isActive());
}
