#include "ui/performance/PerformanceView.h"
#include "model/AppModelSetup.h"
#include "model/FakeEngine.h"
#include "model/MonitorFeed.h"
#include "model/SystemTools.h"
#include "platform/KernelRoots.h"
#include "platform/ProcessStat.h"
#include "platform/UserId.h"
#include "shared/Formatting.h"
#include "shared/MemoryDefaults.h"
#include "support/FixtureTree.h"
#include "support/QtPrinters.h"
#include "ui/ScreenFixtures.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/StatTile.h"
#include "ui/components/StatusPill.h"
#include "ui/components/SwitchToggle.h"
#include "ui/components/SymbolView.h"
#include "ui/performance/CpuHistoryChart.h"
#include "ui/performance/ProcessRow.h"
#include "ui/performance/StartupRow.h"
#include "ui/shell/DetailScreen.h"

#include <QHideEvent>
#include <QMenu>
#include <QProcess>
#include <QShowEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

#include <unistd.h>

using namespace harborlite;
using harborlite::test::waitFor;
namespace P = harborlite::PerformancePresentation;
using Scope = StartupItem::Scope;

namespace {

StartupItem startupItem(const QString& label, Scope scope = Scope::userAgent, bool enabled = true)
{
    StartupItem item;
    item.label = label;
    item.programDescription = "/usr/bin/" + label;
    item.url = "/etc/xdg/autostart/" + label + ".desktop";
    item.scope = scope;
    item.isEnabled = enabled;
    return item;
}

RunningProcess process(qint32 pid, double cpu, bool application = false, qint64 memory = 1'000'000)
{
    RunningProcess made;
    made.pid = pid;
    made.name = QStringLiteral("process %1").arg(pid);
    made.cpu = cpu;
    made.memory = memory;
    made.isApplication = application;
    made.startTime = 1000 + quint64(pid);
    return made;
}

} // namespace

// Presentation --------------------------------------------------------------

TEST(PerformancePresentation, BeforeTheFirstSampleThreeEmptyTiles)
{
    const QList<StatTileLook> tiles = P::tiles(SystemSnapshot{});
    ASSERT_EQ(tiles.size(), 3);
    EXPECT_EQ(tiles[0], (StatTileLook{"CPU", "0%", "User 0% \u00B7 System 0%", 0, "cpu", PaletteRole::accent}));
    EXPECT_EQ(tiles[1], (StatTileLook{"Memory", "0%", "0 KB of 0 KB", 0, "memorychip", PaletteRole::accentDeep}));
    EXPECT_EQ(tiles[2], (StatTileLook{"Network", "0 KB/s", "Up 0 KB/s", 0, "arrow.up.arrow.down", PaletteRole::info}));
}

TEST(PerformancePresentation, TilesFollowTheSample)
{
    SystemSnapshot snapshot;
    snapshot.cpuUsage = 0.423;
    snapshot.cpuUser = 0.3;
    snapshot.cpuSystem = 0.123;
    snapshot.memoryUsed = 4'000'000'000;
    snapshot.memoryTotal = 16'000'000'000;
    snapshot.networkIn = 5'000'000;
    snapshot.networkOut = 120'000;
    const QList<StatTileLook> tiles = P::tiles(snapshot);
    ASSERT_EQ(tiles.size(), 3);
    EXPECT_EQ(tiles[0].value, Format::percent(0.423));
    EXPECT_EQ(tiles[0].caption, "User " + Format::percent(0.3) + " \u00B7 System " + Format::percent(0.123));
    EXPECT_EQ(tiles[1].value, Format::percent(0.25));
    EXPECT_EQ(tiles[1].fraction, 0.25);
    EXPECT_EQ(tiles[1].caption, Format::bytes(4'000'000'000) + " of " + Format::bytes(16'000'000'000));
    EXPECT_EQ(tiles[2].value, Format::bytes(5'000'000) + "/s");
    EXPECT_EQ(tiles[2].caption, "Up " + Format::bytes(120'000) + "/s");
    EXPECT_EQ(tiles[2].fraction, 0.5);
    snapshot.networkIn = 25'000'000;
    EXPECT_EQ(P::tiles(snapshot)[2].fraction, 1.0);
    snapshot.networkIn = 10'000'000;
    EXPECT_EQ(P::tiles(snapshot)[2].fraction, 1.0);
}

TEST(PerformancePresentation, TheBatteryTileAndItsCaption)
{
    struct Case {
        const char* name;
        double level;
        bool charging;
        std::optional<int> cycles;
        std::optional<QString> health;
        QString caption;
        QString symbol;
        PaletteRole tint;
    };
    const std::vector<Case> cases = {
        {"charging with cycles and health", 0.5, true, 312, QStringLiteral("Normal"),
         "312 cycles \u00B7 Normal \u00B7 Charging", "battery.100.bolt", PaletteRole::accentBright},
        {"discharging, nothing known", 0.19, false, {}, {}, "On battery", "battery.75", PaletteRole::danger},
        {"charging alone", 0.2, true, {}, {}, "Charging", "battery.100.bolt", PaletteRole::accentBright},
        {"health alone", 0.9, false, {}, QStringLiteral("Service"), "Service", "battery.75", PaletteRole::accentBright},
    };
    for (const Case& c : cases) {
        SystemSnapshot snapshot;
        snapshot.batteryLevel = c.level;
        snapshot.batteryIsCharging = c.charging;
        snapshot.batteryCycleCount = c.cycles;
        snapshot.batteryHealth = c.health;
        EXPECT_EQ(P::batteryCaption(snapshot), c.caption) << c.name;
        const QList<StatTileLook> tiles = P::tiles(snapshot);
        ASSERT_EQ(tiles.size(), 4) << c.name;
        EXPECT_EQ(tiles[3].title, "Battery") << c.name;
        EXPECT_EQ(tiles[3].value, Format::percent(c.level)) << c.name;
        EXPECT_EQ(tiles[3].caption, c.caption) << c.name;
        EXPECT_EQ(tiles[3].fraction, c.level) << c.name;
        EXPECT_EQ(tiles[3].symbol, c.symbol) << c.name;
        EXPECT_EQ(tiles[3].tint, c.tint) << c.name;
    }
}

TEST(PerformancePresentation, HistoryKeepsTheLastSixtyAndTextsReadExactly)
{
    std::vector<double> history;
    for (int i = 0; i < 61; ++i) {
        history = P::appended(std::move(history), i / 100.0);
    }
    ASSERT_EQ(history.size(), 60u);
    EXPECT_EQ(history.front(), 0.01);
    EXPECT_EQ(history.back(), 0.60);

    QList<StartupItem> items;
    for (int i = 0; i < 7; ++i) {
        items.append(startupItem(QString::number(i), Scope::userAgent, i < 3));
    }
    EXPECT_EQ(P::startupCount(items), "3 enabled of 7");
    EXPECT_EQ(P::startupCount({}), "0 enabled of 0");
    EXPECT_EQ(P::title(), "Performance");
    EXPECT_EQ(P::subtitle(), "What is running, what starts with your Mac, and what it is costing you.");
    EXPECT_EQ(P::headerSymbol(), "speedometer");
    EXPECT_EQ(P::chartTitle(), "CPU load, last two minutes");
    EXPECT_EQ(P::uptimeText(3 * 3600 + 12 * 60), "Uptime " + Format::duration(3 * 3600 + 12 * 60));
    EXPECT_EQ(P::startupTitle(), "Login & Launch Items");
    EXPECT_EQ(P::noStartupItems(), "No third-party launch agents or daemons are installed.");
    EXPECT_EQ(P::processTitle(), "Top Processes");
}

// Rows ------------------------------------------------------------------------

TEST(StartupRow, StateAndDetailTexts)
{
    struct Case {
        bool runsAtLoad;
        bool keepsAlive;
        bool orphaned;
        QString state;
    };
    const std::vector<Case> cases = {
        {true, true, false, "Starts at login and is kept running"},
        {true, false, false, "Starts at login"},
        {false, true, false, "Kept running once started"},
        {false, false, false, "Starts on demand"},
        {true, true, true, "Program is missing"},
    };
    for (const Case& c : cases) {
        StartupItem item = startupItem("agent");
        item.runsAtLoad = c.runsAtLoad;
        item.keepsAlive = c.keepsAlive;
        item.isOrphaned = c.orphaned;
        EXPECT_EQ(StartupRow::stateText(item), c.state);
        EXPECT_EQ(StartupRow::detailText(item), "Not signed \u00B7 " + c.state);
        item.owningAppName = QStringLiteral("Tool");
        EXPECT_EQ(StartupRow::detailText(item), "Tool \u00B7 Not signed \u00B7 " + c.state);
    }
}

TEST(StartupRow, PillLockKindAndSymbolFollowTheItem)
{
    StartupItem item = startupItem("agent");
    EXPECT_EQ(StartupRow::pill(item), (StartupRow::Pill{"Unverified", "questionmark.circle.fill"}));
    item.signature.isValid = true;
    EXPECT_EQ(StartupRow::pill(item), std::nullopt);
    item.signature.isValid = false;
    item.signature.isApple = true;
    EXPECT_EQ(StartupRow::pill(item), std::nullopt);
    item.isOrphaned = true;
    EXPECT_EQ(StartupRow::pill(item), (StartupRow::Pill{"Broken", "exclamationmark.triangle.fill"}));

    const std::vector<std::tuple<Scope, QString, QString, bool>> scopes = {
        {Scope::userAgent, "person.crop.circle", "Login item", false},
        {Scope::globalAgent, "person.2.circle", "Launch agent", true},
        {Scope::daemon, "gearshape.2", "Launch daemon", true},
    };
    for (const auto& [scope, symbol, kind, lock] : scopes) {
        EXPECT_EQ(StartupRow::scopeSymbol(scope), symbol);
        EXPECT_EQ(StartupRow::kindText(scope), kind);
        item.scope = scope;
        for (const auto source : {StartupItem::Source::launchd, StartupItem::Source::systemd}) {
            item.source = source;
            EXPECT_EQ(StartupRow::showsLock(item), lock);
        }
        // An autostart entry is switched by writing the user's own copy: no password.
        item.source = StartupItem::Source::autostart;
        EXPECT_FALSE(StartupRow::showsLock(item));
    }
    EXPECT_EQ(StartupRow::lockToolTip(), "Changing this needs an administrator password.");
}

TEST(StartupRow, AFlipAsksOnceAndTheSwitchWaitsForTheItem)
{
    QList<bool> asked;
    StartupItem item = startupItem("agent", Scope::daemon, true);
    StartupRow row(item, [&](bool enabled) { asked.append(enabled); });
    row.resize(700, 40);
    row.show();
    test::settle();
    EXPECT_NE(row.findChild<SymbolView*>("lock"), nullptr);
    EXPECT_EQ(row.findChild<SymbolView*>("lock")->toolTip(), StartupRow::lockToolTip());
    EXPECT_EQ(row.findChild<StatusPill*>("pill")->text(), "Unverified");
    EXPECT_EQ(row.findChild<RoleLabel*>("kind")->text(), "Launch daemon");
    EXPECT_EQ(row.findChild<RoleLabel*>("detail")->toolTip(), "/usr/bin/agent");

    QTest::mouseClick(row.toggleSwitch(), Qt::LeftButton);
    EXPECT_EQ(asked, QList<bool>{false});
    EXPECT_TRUE(row.toggleSwitch()->isOn());
    item.isEnabled = false;
    item.scope = Scope::userAgent;
    item.signature.isValid = true;
    row.setItem(item);
    test::settle();
    EXPECT_FALSE(row.toggleSwitch()->isOn());
    EXPECT_EQ(row.findChild<SymbolView*>("lock"), nullptr);
    EXPECT_EQ(row.findChild<StatusPill*>("pill"), nullptr);
}

TEST(ProcessRow, DotColumnsAndQuit)
{
    EXPECT_EQ(ProcessRow::dotRole(15.0), PaletteRole::accent);
    EXPECT_EQ(ProcessRow::dotRole(15.1), PaletteRole::warning);
    EXPECT_EQ(ProcessRow::dotRole(50.0), PaletteRole::warning);
    EXPECT_EQ(ProcessRow::dotRole(50.1), PaletteRole::danger);
    EXPECT_EQ(ProcessRow::cpuText(123.456), "123.5%");
    EXPECT_EQ(ProcessRow::cpuText(250), "250.0%");
    EXPECT_EQ(ProcessRow::cpuText(0), "0.0%");
    EXPECT_EQ(ProcessRow::memoryText(0), "0 KB");
    EXPECT_EQ(ProcessRow::memoryText(-5), "0 KB");
    EXPECT_EQ(ProcessRow::memoryText(2'097'152), Format::bytes(2'097'152));

    QList<bool> quits;
    const auto record = [&](const RunningProcess&, bool force) { quits.append(force); };
    ProcessRow plain(process(7, 1.5), record);
    EXPECT_EQ(plain.quitButton(), nullptr);
    EXPECT_EQ(plain.findChild<QWidget*>("actionSlot")->width(), ProcessRow::kActionWidth);
    EXPECT_EQ(plain.findChild<RoleLabel*>("pid")->text(), "7");

    ProcessRow application(process(4242, 60.0, true), record);
    application.resize(700, 34);
    application.show();
    test::settle();
    ASSERT_NE(application.quitButton(), nullptr);
    EXPECT_EQ(application.quitButton()->text(), "Quit");
    // The pid sits right after the name, whatever room the row has.
    auto* name = application.findChild<RoleLabel*>("name");
    auto* pid = application.findChild<RoleLabel*>("pid");
    EXPECT_EQ(pid->x(), name->geometry().right() + 1 + ProcessRow::kIdentitySpacing);
    RunningProcess named = process(4242, 60.0, true);
    named.name = QString(200, QLatin1Char('n'));
    application.setProcess(named);
    test::settle();
    EXPECT_EQ(pid->x(), name->geometry().right() + 1 + ProcessRow::kIdentitySpacing);
    EXPECT_EQ(pid->width(), pid->sizeHint().width());
    EXPECT_LE(pid->geometry().right(), application.findChild<RoleLabel*>("cpu")->x());
    application.setProcess(process(4242, 60.0, true));
    QTest::mouseClick(application.quitButton(), Qt::LeftButton);
    QMenu* menu = application.makeQuitMenu();
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().front()->text(), "Force Quit");
    menu->actions().front()->trigger();
    EXPECT_EQ(quits, (QList<bool>{false, true}));

    // The pointer's hover stays with the row when its process gets a newer sample.
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&application, &enter);
    EXPECT_TRUE(application.isHovering());
    application.setProcess(process(4242, 10.0, true));
    EXPECT_TRUE(application.isHovering());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&application, &leave);
    EXPECT_FALSE(application.isHovering());
}

// Quit hands over the process the row showed when the button went down or
// its menu opened, whatever sample the row shows by the release.
TEST(ProcessRow, QuitNamesTheProcessShownAtThePress)
{
    QList<std::pair<quint64, bool>> quits;
    ProcessRow row(process(4242, 60.0, true), [&](const RunningProcess& pressed, bool force) {
        quits.append({pressed.startTime, force});
    });
    row.resize(700, 34);
    row.show();
    test::settle();
    QSignalSpy held(&row, &ProcessRow::heldChanged);
    RunningProcess reused = process(4242, 1.0, true);
    reused.startTime = 99999;

    QTest::mousePress(row.quitButton(), Qt::LeftButton);
    EXPECT_TRUE(row.isHeld());
    row.setProcess(reused);
    QTest::mouseRelease(row.quitButton(), Qt::LeftButton);
    EXPECT_FALSE(row.isHeld());
    EXPECT_EQ(held.size(), 2);

    row.setProcess(process(4242, 60.0, true));
    QMenu* menu = row.makeQuitMenu();
    row.setProcess(reused);
    menu->actions().front()->trigger();
    EXPECT_EQ(quits, (QList<std::pair<quint64, bool>>{{1000 + 4242, false}, {1000 + 4242, true}}));
}

// The screen with a scripted engine ------------------------------------------

namespace {

struct EngineScript {
    std::mutex mutex;
    QList<RunningProcess> processes;
    QList<StartupItem> items;
    std::atomic<int> processSamples = 0;
    std::atomic<int> itemLoads = 0;
    QList<std::pair<qint32, bool>> quits;
    // The start time of each process asked to quit.
    QList<quint64> quitStarts;
    QList<std::pair<QString, bool>> switches;
    bool quitAnswer = true;
    // When set, quit requests go here instead of being answered with quitAnswer.
    std::function<bool(const RunningProcess&, bool)> quitThrough;
    bool switchFails = false;
};

struct PerformanceScreen {
    MemoryDefaults defaults;
    std::shared_ptr<EngineScript> script = std::make_shared<EngineScript>();
    std::shared_ptr<BackgroundRunner> runner = std::make_shared<BackgroundRunner>(4);
    std::unique_ptr<AppModel> model;
    std::function<void()> sample;
    std::unique_ptr<PerformanceView> view;
    std::shared_ptr<SystemSnapshot> next = std::make_shared<SystemSnapshot>();

    PerformanceScreen()
    {
        ModelEngine engine = test::quietEngine();
        engine.topProcesses = [script = script](int limit) {
            ++script->processSamples;
            std::lock_guard lock(script->mutex);
            return script->processes.mid(0, limit);
        };
        engine.startupItems = [script = script] {
            ++script->itemLoads;
            std::lock_guard lock(script->mutex);
            return script->items;
        };
        engine.quit = [script = script](const RunningProcess& process, bool force) {
            {
                std::lock_guard lock(script->mutex);
                script->quits.append({process.pid, force});
                script->quitStarts.append(process.startTime);
                if (!script->quitThrough) {
                    return script->quitAnswer;
                }
            }
            return script->quitThrough(process, force);
        };
        engine.setStartupItemEnabled = [script = script](bool enabled, const StartupItem& item) {
            std::lock_guard lock(script->mutex);
            script->switches.append({item.label, enabled});
            if (script->switchFails) {
                throw ShellRunner::RunError::launchFailed(QStringLiteral("Unit file does not exist."));
            }
        };
        engine.makeSampler = [next = next] { return ModelEngine::Sampler([next] { return *next; }); };
        AppModel::Setup setup;
        setup.engine = std::move(engine);
        setup.updateConfiguration = QuorvaneConfiguration(QStringLiteral("harborlite"), QUrl("http://127.0.0.1:9"));
        setup.bundleInformation = {};
        setup.runner = runner;
        setup.scheduleTick = [this](QObject*, double, std::function<void()> tick) { sample = std::move(tick); };
        model = std::make_unique<AppModel>(defaults, std::move(setup));
    }

    ~PerformanceScreen()
    {
        view.reset();
        model.reset();
        runner->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    SystemTools& tools() const { return model->systemTools(); }
    MonitorFeed& feed() const { return model->monitorFeed(); }

    PerformanceView& open()
    {
        view = std::make_unique<PerformanceView>(tools(), feed());
        view->resize(1000, 900);
        view->show();
        test::settle();
        return *view;
    }

    void setProcesses(QList<RunningProcess> processes)
    {
        std::lock_guard lock(script->mutex);
        script->processes = std::move(processes);
    }
    void setItems(QList<StartupItem> items)
    {
        std::lock_guard lock(script->mutex);
        script->items = std::move(items);
    }

    // Takes one sample of the monitoring loop with this processor load, and
    // waits for that sample itself: a tick while the sample before is still
    // on its way takes none, so waiting only for the load to show would wait
    // for ever when two samples in a row carry the same load.
    void sampleLoad(double load)
    {
        next->cpuUsage = load;
        QSignalSpy arrived(&feed(), &MonitorFeed::snapshotChanged);
        if (!sample) {
            feed().startMonitoring();
        } else {
            std::function<void()> tick = std::move(sample);
            tick();
        }
        waitFor([&] { return !arrived.isEmpty(); });
        EXPECT_EQ(feed().snapshot().cpuUsage, load);
        test::settle();
    }

    ProcessRow* rowOf(qint32 pid) const
    {
        for (ProcessRow* row : view->processRows()) {
            if (row->process().pid == pid) {
                return row;
            }
        }
        return nullptr;
    }
};

} // namespace

TEST(PerformanceView, WhenShownItReadsTheItemsOnceAndTheProcessesNowAndEveryFourSeconds)
{
    PerformanceScreen screen;
    screen.setItems({startupItem("a"), startupItem("b", Scope::daemon, false)});
    screen.setProcesses({process(10, 30), process(11, 5, true)});
    PerformanceView& view = screen.open();
    waitFor([&] { return screen.tools().startupItems().size() == 2 && screen.tools().processes().size() == 2; });
    test::settle();
    EXPECT_EQ(screen.script->itemLoads.load(), 1);
    EXPECT_EQ(screen.script->processSamples.load(), 1);
    EXPECT_TRUE(view.refreshTimer().isActive());
    EXPECT_EQ(view.refreshTimer().interval(), 4000);
    ASSERT_EQ(view.startupRows().size(), 2);
    EXPECT_EQ(view.findChild<RoleLabel*>("startupCount")->text(), "1 enabled of 2");
    EXPECT_FALSE(view.findChild<RoleLabel*>("noStartupItems")->isVisible());
    ASSERT_EQ(view.processRows().size(), 2);
    EXPECT_EQ(view.processRows()[0]->quitButton(), nullptr);
    EXPECT_NE(view.processRows()[1]->quitButton(), nullptr);

    // The timer's pass samples again; Refresh buttons ask too.
    QMetaObject::invokeMethod(const_cast<QTimer*>(&view.refreshTimer()), "timeout", Qt::DirectConnection);
    QTest::mouseClick(view.findChild<GlassCompatButton*>("refreshProcesses"), Qt::LeftButton);
    QTest::mouseClick(view.findChild<GlassCompatButton*>("refreshStartupItems"), Qt::LeftButton);
    waitFor([&] { return screen.script->processSamples.load() == 3 && screen.script->itemLoads.load() == 2; });

    // Hidden, it asks for nothing more.
    view.hide();
    EXPECT_FALSE(view.refreshTimer().isActive());
    // Shown again: the items once more and a sample at once.
    view.show();
    EXPECT_TRUE(view.refreshTimer().isActive());
    waitFor([&] { return screen.script->processSamples.load() == 4 && screen.script->itemLoads.load() == 3; });
}

TEST(PerformanceView, FifteenRowsOfFortyAndNoRowsForNone)
{
    PerformanceScreen screen;
    QList<RunningProcess> many;
    for (int i = 0; i < 40; ++i) {
        many.append(process(100 + i, 40 - i));
    }
    screen.setProcesses(many);
    PerformanceView& view = screen.open();
    waitFor([&] { return screen.tools().processes().size() == 40; });
    test::settle();
    ASSERT_EQ(view.processRows().size(), 15);
    EXPECT_EQ(view.processRows().front()->process().pid, 100);
    EXPECT_EQ(view.processRows().back()->process().pid, 114);
    EXPECT_NE(view.findChild<RoleLabel*>("cpuColumn"), nullptr);
    EXPECT_EQ(view.findChild<RoleLabel*>("cpuColumn")->width(), ProcessRow::kCpuWidth);

    // A new order keeps each process's row.
    ProcessRow* third = view.processRows()[2];
    std::reverse(many.begin(), many.begin() + 15);
    screen.setProcesses(many);
    screen.tools().refreshProcesses();
    waitFor([&] { return screen.tools().processes().front().pid == 114; });
    test::settle();
    EXPECT_EQ(view.processRows()[12], third);

    screen.setProcesses({});
    screen.tools().refreshProcesses();
    waitFor([&] { return screen.tools().processes().isEmpty(); });
    test::settle();
    EXPECT_TRUE(view.processRows().isEmpty());
    EXPECT_TRUE(view.findChild<RoleLabel*>("processTitle")->isVisible());
    EXPECT_TRUE(view.findChild<RoleLabel*>("noStartupItems")->isVisible());
    EXPECT_EQ(view.findChild<RoleLabel*>("startupCount")->text(), "0 enabled of 0");
}

TEST(PerformanceView, TheColumnLabelsEndWhereTheRowsColumnsEnd)
{
    PerformanceScreen screen;
    screen.setProcesses({process(10, 30), process(11, 5, true)});
    PerformanceView& view = screen.open();
    waitFor([&] { return screen.tools().processes().size() == 2; });
    test::settle();
    ASSERT_EQ(view.processRows().size(), 2);
    const auto rightEdge = [&view](const QWidget* widget) {
        return widget->mapTo(&view, QPoint(widget->width(), 0)).x();
    };
    const auto leftEdge = [&view](const QWidget* widget) { return widget->mapTo(&view, QPoint(0, 0)).x(); };
    for (ProcessRow* row : view.processRows()) {
        SCOPED_TRACE(row->process().pid);
        EXPECT_EQ(rightEdge(view.findChild<RoleLabel*>("cpuColumn")), rightEdge(row->findChild<RoleLabel*>("cpu")));
        EXPECT_EQ(rightEdge(view.findChild<RoleLabel*>("memoryColumn")),
                  rightEdge(row->findChild<RoleLabel*>("memory")));
        EXPECT_EQ(leftEdge(view.findChild<RoleLabel*>("processColumn")), leftEdge(row->findChild<QWidget*>("dot")));
    }
}

TEST(PerformanceView, QuitAndSwitchGoThroughTheModelAndRefusalsRaiseBanners)
{
    PerformanceScreen screen;
    screen.setProcesses({process(50, 80, true)});
    screen.setItems({startupItem("agent", Scope::daemon, true)});
    PerformanceView& view = screen.open();
    waitFor([&] { return !screen.tools().processes().isEmpty() && !screen.tools().startupItems().isEmpty(); });
    test::settle();
    ASSERT_EQ(view.processRows().size(), 1);

    QTest::mouseClick(view.processRows()[0]->quitButton(), Qt::LeftButton);
    view.processRows()[0]->makeQuitMenu()->actions().front()->trigger();
    {
        std::lock_guard lock(screen.script->mutex);
        EXPECT_EQ(screen.script->quits, (QList<std::pair<qint32, bool>>{{50, false}, {50, true}}));
        screen.script->quitAnswer = false;
    }
    EXPECT_FALSE(screen.model->banner().has_value());
    QTest::mouseClick(view.processRows()[0]->quitButton(), Qt::LeftButton);
    ASSERT_TRUE(screen.model->banner().has_value());
    EXPECT_EQ(screen.model->banner()->title, "Could not quit process 50");
    EXPECT_EQ(screen.model->banner()->message,
              "The process did not respond. Try Force Quit, or it may be a system process.");
    EXPECT_TRUE(screen.model->banner()->isError);

    // A failed switch: the banner, the items read again, the switch back where it was.
    {
        std::lock_guard lock(screen.script->mutex);
        screen.script->switchFails = true;
    }
    const int loads = screen.script->itemLoads.load();
    QTest::mouseClick(view.startupRows()[0]->toggleSwitch(), Qt::LeftButton);
    waitFor([&] { return screen.script->itemLoads.load() > loads; });
    waitFor([&] { return screen.model->banner() && screen.model->banner()->title == "Could not change startup item"; });
    test::settle();
    {
        std::lock_guard lock(screen.script->mutex);
        EXPECT_EQ(screen.script->switches, (QList<std::pair<QString, bool>>{{"agent", false}}));
    }
    EXPECT_TRUE(view.startupRows()[0]->toggleSwitch()->isOn());
}

TEST(PerformanceView, QuitEndsTheApplicationAndRefusesOneThatEndedSinceItWasListed)
{
    PerformanceScreen screen;
    screen.script->quitThrough = ModelEngine::real().quit;
    QProcess live;
    QProcess ended;
    for (QProcess* sleeper : {&live, &ended}) {
        sleeper->start(QStringLiteral("/bin/sleep"), {QStringLiteral("300")});
        ASSERT_TRUE(sleeper->waitForStarted());
    }
    const auto listed = [](const QProcess& sleeper, const QString& name) {
        RunningProcess made = process(qint32(sleeper.processId()), 20, true);
        made.name = name;
        made.startTime = platform::processStartTime(QStringLiteral("/proc"), pid_t(made.pid));
        return made;
    };
    const RunningProcess liveRow = listed(live, QStringLiteral("sleeper"));
    const RunningProcess endedRow = listed(ended, QStringLiteral("gone"));
    ASSERT_NE(liveRow.startTime, 0u);
    ASSERT_NE(endedRow.startTime, 0u);
    ended.kill();
    ASSERT_TRUE(ended.waitForFinished(30000));
    screen.setProcesses({liveRow, endedRow});
    screen.open();
    waitFor([&] { return screen.tools().processes().size() == 2; });
    test::settle();
    ASSERT_NE(screen.rowOf(endedRow.pid), nullptr);
    ASSERT_NE(screen.rowOf(liveRow.pid), nullptr);

    QTest::mouseClick(screen.rowOf(endedRow.pid)->quitButton(), Qt::LeftButton);
    ASSERT_TRUE(screen.model->banner().has_value());
    EXPECT_EQ(screen.model->banner()->title, "Could not quit gone");
    EXPECT_EQ(live.state(), QProcess::Running);

    screen.model->setBanner(std::nullopt);
    QTest::mouseClick(screen.rowOf(liveRow.pid)->quitButton(), Qt::LeftButton);
    EXPECT_FALSE(screen.model->banner().has_value());
    ASSERT_TRUE(live.waitForFinished(30000));
    EXPECT_EQ(live.exitStatus(), QProcess::CrashExit);
}

TEST(PerformanceView, QuitAndForceQuitRefuseTheFirstProcessAndThisOne)
{
    PerformanceScreen screen;
    screen.script->quitThrough = ModelEngine::real().quit;
    // Both look like the user's own live applications, so only their pids
    // stand in the way.
    test::FixtureTree tree;
    const platform::Seam<QString>::Override proc(platform::procRoot(), tree.path("proc"));
    const uid_t user = platform::userId().get();
    const qint32 self = qint32(::getpid());
    for (const qint32 pid : {1, self}) {
        tree.file(QStringLiteral("proc/%1/stat").arg(pid),
                  QByteArray::number(pid) + " (listed) S 0 1 1 0 -1 0 0 0 0 0 5 0 0 0 20 0 1 0 4242 1000 1 0\n");
        tree.file(QStringLiteral("proc/%1/status").arg(pid), "Uid:\t" + QByteArray::number(user) + "\t0\t0\t0\n");
    }
    RunningProcess first = process(1, 90, true);
    first.name = QStringLiteral("init");
    first.startTime = 4242;
    RunningProcess us = process(self, 80, true);
    us.name = QStringLiteral("harborlite");
    us.startTime = 4242;
    screen.setProcesses({first, us});
    screen.open();
    waitFor([&] { return screen.tools().processes().size() == 2; });
    test::settle();
    ASSERT_NE(screen.rowOf(1), nullptr);
    ASSERT_NE(screen.rowOf(self), nullptr);

    struct Case {
        qint32 pid;
        bool force;
        QString title;
    };
    const std::vector<Case> cases = {
        {1, false, "Could not quit init"},
        {self, false, "Could not quit harborlite"},
        {1, true, "Could not quit init"},
        {self, true, "Could not quit harborlite"},
    };
    for (const Case& c : cases) {
        screen.model->setBanner(std::nullopt);
        ProcessRow* row = screen.rowOf(c.pid);
        ASSERT_NE(row, nullptr) << c.title.toStdString();
        if (c.force) {
            row->makeQuitMenu()->actions().front()->trigger();
        } else {
            QTest::mouseClick(row->quitButton(), Qt::LeftButton);
        }
        ASSERT_TRUE(screen.model->banner().has_value()) << c.title.toStdString();
        EXPECT_EQ(screen.model->banner()->title, c.title);
        EXPECT_TRUE(screen.model->banner()->isError);
    }
    std::lock_guard lock(screen.script->mutex);
    EXPECT_EQ(screen.script->quits,
              (QList<std::pair<qint32, bool>>{{1, false}, {self, false}, {1, true}, {self, true}}));
}

namespace {

QList<qint32> rowPids(const PerformanceView& view)
{
    QList<qint32> pids;
    for (ProcessRow* row : view.processRows()) {
        pids << row->process().pid;
    }
    return pids;
}

// Samples the processes again and waits until the screen has them.
void resample(PerformanceScreen& screen, QList<RunningProcess> processes)
{
    screen.setProcesses(processes);
    screen.tools().refreshProcesses();
    waitFor([&] { return screen.tools().processes() == processes; });
    test::settle();
}

} // namespace

// The rows hold their places while the pointer is over them, showing each
// process's newer figures, and take the new order once it leaves.
TEST(PerformanceView, RowsDoNotMoveUnderThePointer)
{
    PerformanceScreen screen;
    screen.setProcesses({process(10, 80, true), process(11, 10, true)});
    PerformanceView& view = screen.open();
    waitFor([&] { return view.processRows().size() == 2; });
    ASSERT_EQ(rowPids(view), (QList<qint32>{10, 11}));
    ProcessRow* first = view.processRows()[0];

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(view.processList(), &enter);
    resample(screen, {process(11, 90, true), process(10, 5, true), process(12, 3, true)});
    EXPECT_EQ(rowPids(view), (QList<qint32>{10, 11}));
    EXPECT_EQ(view.processRows()[0], first);
    EXPECT_EQ(first->findChild<RoleLabel*>("cpu")->text(), "5.0%");

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(view.processList(), &leave);
    test::settle();
    EXPECT_EQ(rowPids(view), (QList<qint32>{11, 10, 12}));
}

// Quit goes to the process the row showed when the button went down: a new
// sample before the release, in which the pid now names a later process,
// neither moves the row nor changes what is asked to quit.
TEST(PerformanceView, QuitActsOnTheProcessPressedEvenWhenItsPidIsReused)
{
    PerformanceScreen screen;
    screen.setProcesses({process(50, 80, true)});
    PerformanceView& view = screen.open();
    waitFor([&] { return view.processRows().size() == 1; });
    GlassCompatButton* quit = view.processRows()[0]->quitButton();
    ASSERT_NE(quit, nullptr);

    QTest::mousePress(quit, Qt::LeftButton);
    RunningProcess later = process(50, 90, true);
    later.startTime = 7777;
    resample(screen, {process(60, 95, true), later});
    ASSERT_EQ(rowPids(view), QList<qint32>{50});
    QTest::mouseRelease(quit, Qt::LeftButton);
    {
        std::lock_guard lock(screen.script->mutex);
        EXPECT_EQ(screen.script->quitStarts, QList<quint64>{1050});
    }

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(view.processList(), &leave);
    test::settle();
    waitFor([&] { return rowPids(view) == QList<qint32>{60, 50}; });
    EXPECT_EQ(view.processRows()[1]->process().startTime, 7777u);
}

TEST(PerformanceView, TheChartKeepsTheLoadsSeenWhileShownAndTheTilesTheLatestSample)
{
    PerformanceScreen screen;
    screen.sampleLoad(0.5);
    PerformanceView& view = screen.open();
    // The load present when the screen is shown is not part of its history.
    EXPECT_TRUE(view.history().empty());
    screen.sampleLoad(0.5);
    EXPECT_TRUE(view.history().empty());
    for (int i = 1; i <= 61; ++i) {
        screen.sampleLoad(i / 100.0);
    }
    ASSERT_EQ(view.history().size(), 60u);
    EXPECT_EQ(view.history().front(), 0.02);
    EXPECT_EQ(view.history().back(), 0.61);
    EXPECT_EQ(view.findChild<CpuHistoryChart*>()->history(), view.history());
    ASSERT_EQ(view.tiles().size(), 3);
    EXPECT_EQ(view.tiles()[0]->value(), Format::percent(0.61));

    // Hidden, nothing is added.
    view.hide();
    screen.sampleLoad(0.9);
    EXPECT_EQ(view.history().back(), 0.61);

    // A battery brings the fourth tile.
    screen.next->batteryLevel = 0.1;
    view.show();
    screen.sampleLoad(0.3);
    ASSERT_EQ(view.tiles().size(), 4);
    EXPECT_EQ(view.history().back(), 0.3);
}

TEST(PerformanceView, TheRouteShowsTheScreen)
{
    PerformanceScreen screen;
    const ScreenServices services = ScreenServices::real();
    std::unique_ptr<QWidget> shown(makeDetailScreen(Route::performance, *screen.model, services));
    EXPECT_NE(qobject_cast<PerformanceView*>(shown.get()), nullptr);
}

// Looks ----------------------------------------------------------------------

TEST(PerformanceViewLook, WritesTheScreenLightAndDark)
{
    PerformanceScreen screen;
    StartupItem broken = startupItem("com.example.helper", Scope::daemon, true);
    broken.isOrphaned = true;
    StartupItem signedItem = startupItem("Backup", Scope::globalAgent, false);
    signedItem.signature.isValid = true;
    signedItem.owningAppName = QStringLiteral("Backup Tool");
    signedItem.runsAtLoad = true;
    signedItem.keepsAlive = true;
    StartupItem sync = startupItem("sync.service", Scope::userAgent, true);
    sync.runsAtLoad = true;
    screen.setItems({signedItem, broken, sync});
    screen.setProcesses({process(3100, 132.4, true, 1'800'000'000), process(220, 48.0, false, 320'000'000),
                         process(4150, 16.2, true, 90'000'000), process(12, 2.5), process(1, 0.1, false, 8'000'000)});
    screen.next->cpuUser = 0.31;
    screen.next->cpuSystem = 0.12;
    screen.next->memoryUsed = 9'800'000'000;
    screen.next->memoryTotal = 16'000'000'000;
    screen.next->networkIn = 2'400'000;
    screen.next->networkOut = 310'000;
    screen.next->uptime = 3 * 86400 + 5 * 3600;
    screen.sampleLoad(0.42);
    screen.tools().refreshProcesses();
    screen.tools().loadStartupItems();
    waitFor([&] { return screen.tools().processes().size() == 5 && screen.tools().startupItems().size() == 3; });
    for (const QSize size : {QSize(1000, 1000), QSize(1400, 900)}) {
        const QStringList files = test::renderScreens(
            [&]() -> QWidget* {
                auto* view = new PerformanceView(screen.tools(), screen.feed());
                for (int i = 0; i < 40; ++i) {
                    screen.sampleLoad(0.3 + 0.25 * ((i * 7) % 11) / 10.0);
                }
                return view;
            },
            QStringLiteral("performance-") + QString::number(size.width()), size);
        EXPECT_EQ(files.size(), 2);
    }
}
