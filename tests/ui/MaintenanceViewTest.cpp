#include "ui/maintenance/MaintenanceView.h"
#include "engine/commands/ShellRunner.h"
#include "engine/system/MaintenanceService.h"
#include "model/AppModelSetup.h"
#include "model/FakeEngine.h"
#include "model/SystemTools.h"
#include "platform/Clock.h"
#include "shared/MemoryDefaults.h"
#include "support/FakeTool.h"
#include "support/FixtureTree.h"
#include "support/QtPrinters.h"
#include "ui/ScreenFixtures.h"
#include "ui/components/ClampedLabel.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/GlassPanel.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/ScreenHeader.h"
#include "ui/components/SymbolView.h"
#include "ui/maintenance/MaintenanceCard.h"
#include "ui/shell/DetailScreen.h"

#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

using namespace harborlite;
using harborlite::test::waitFor;
namespace M = harborlite::MaintenancePresentation;
using RunError = ShellRunner::RunError;

namespace {

const QDateTime kNow = QDateTime(QDate(2026, 3, 10), QTime(12, 0), Qt::UTC);

MaintenanceTask task(const QString& id, bool needsAdministrator = false, const QString& tool = QString())
{
    return {id,
            id + QStringLiteral(" title"),
            id + QStringLiteral(" detail"),
            QStringLiteral("memorychip"),
            needsAdministrator,
            QStringLiteral("A few seconds"),
            tool};
}

M::Run run(const QString& id, const QString& message, bool isError = false, int secondsAgo = 60)
{
    return {id, message, isError, kNow.addSecs(-secondsAgo)};
}

} // namespace

// Presentation --------------------------------------------------------------

TEST(MaintenancePresentation, TheScreensOwnTexts)
{
    EXPECT_EQ(M::title(), QStringLiteral("Maintenance"));
    EXPECT_EQ(M::subtitle(), QStringLiteral("Repair scripts macOS normally only runs on its own schedule."));
    EXPECT_EQ(M::headerSymbol(), QStringLiteral("wrench.and.screwdriver"));
    EXPECT_EQ(M::notice(),
              QStringLiteral("Tasks marked with a lock ask macOS for an administrator password. "
                             "Harborlite never sees or stores it \u2014 the prompt comes from the system."));
    EXPECT_EQ(M::recentRunsTitle(), QStringLiteral("Recent runs"));
    EXPECT_EQ(M::lockToolTip(), QStringLiteral("Asks for an administrator password."));
}

TEST(MaintenancePresentation, CardStatesComeInOrder)
{
    struct Case {
        const char* name;
        bool isRunning;
        bool isBlocked;
        bool isAvailable;
        QString title;
        bool spinner;
        bool enabled;
    };
    const std::vector<Case> cases = {
        {"running", true, false, true, QStringLiteral("Running\u2026"), true, false},
        {"running without its tool", true, false, false, QStringLiteral("Running\u2026"), true, false},
        {"unavailable", false, false, false, QStringLiteral("Unavailable"), false, false},
        {"unavailable while another runs", false, true, false, QStringLiteral("Unavailable"), false, false},
        {"blocked", false, true, true, QStringLiteral("Run"), false, false},
        {"idle", false, false, true, QStringLiteral("Run"), false, true},
    };
    for (const Case& c : cases) {
        M::CardInputs inputs;
        inputs.isRunning = c.isRunning;
        inputs.isBlocked = c.isBlocked;
        inputs.isAvailable = c.isAvailable;
        const M::CardLook look = M::cardLook(task("freeRAM"), inputs);
        EXPECT_EQ(look.buttonTitle, c.title) << c.name;
        EXPECT_EQ(look.showsSpinner, c.spinner) << c.name;
        EXPECT_EQ(look.buttonEnabled, c.enabled) << c.name;
        EXPECT_EQ(look.showsUnavailableMarker, !c.isAvailable) << c.name;
    }
}

TEST(MaintenancePresentation, MarkerAndLockStandApartFromTheButton)
{
    M::CardInputs missing;
    const M::CardLook both = M::cardLook(task("freeRAM", true), missing);
    EXPECT_TRUE(both.showsUnavailableMarker);
    EXPECT_TRUE(both.showsLock);
    EXPECT_EQ(both.buttonTitle, QStringLiteral("Unavailable"));

    M::CardInputs present;
    present.isAvailable = true;
    const M::CardLook plain = M::cardLook(task("verifyDisk", false), present);
    EXPECT_FALSE(plain.showsUnavailableMarker);
    EXPECT_FALSE(plain.showsLock);
}

TEST(MaintenancePresentation, RunningAndBlockedFollowTheRunningTask)
{
    const M::CardInputs mine = M::cardInputs(task("a"), QStringLiteral("a"), {}, std::nullopt, true);
    EXPECT_TRUE(mine.isRunning);
    EXPECT_FALSE(mine.isBlocked);
    const M::CardInputs other = M::cardInputs(task("b"), QStringLiteral("a"), {}, std::nullopt, true);
    EXPECT_FALSE(other.isRunning);
    EXPECT_TRUE(other.isBlocked);
    const M::CardInputs idle = M::cardInputs(task("b"), std::nullopt, {}, std::nullopt, false);
    EXPECT_FALSE(idle.isRunning);
    EXPECT_FALSE(idle.isBlocked);
    EXPECT_FALSE(idle.isAvailable);
}

TEST(MaintenancePresentation, SnapshotLineOnTheThinningCardOnly)
{
    struct Case {
        const char* name;
        QString id;
        std::optional<LocalSnapshots> snapshots;
        std::optional<QString> line;
    };
    const std::vector<Case> cases = {
        {"not measured", QStringLiteral("thinSnapshots"), std::nullopt, std::nullopt},
        {"none, whatever is purgeable", QStringLiteral("thinSnapshots"), LocalSnapshots{0, 5'000'000'000},
         std::nullopt},
        {"one", QStringLiteral("thinSnapshots"), LocalSnapshots{1, 0}, QStringLiteral("1 snapshot")},
        {"two", QStringLiteral("thinSnapshots"), LocalSnapshots{2, 0}, QStringLiteral("2 snapshots")},
        {"one with space", QStringLiteral("thinSnapshots"), LocalSnapshots{1, 4'200'000'000},
         QStringLiteral("1 snapshot \u00B7 about 4.2 GB purgeable")},
        {"many, no grouping", QStringLiteral("thinSnapshots"), LocalSnapshots{1234, 1'500'000},
         QStringLiteral("1234 snapshots \u00B7 about 1.5 MB purgeable")},
        {"another task", QStringLiteral("verifyDisk"), LocalSnapshots{3, 1'000}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(M::reclaimableLine(c.id, c.snapshots), c.line) << c.name;
        M::CardInputs inputs = M::cardInputs(task(c.id), std::nullopt, {}, c.snapshots, true);
        EXPECT_EQ(M::cardLook(task(c.id), inputs).reclaimable, c.line) << c.name;
    }
}

TEST(MaintenancePresentation, TheCardShowsItsTasksNewestRunInItsStyle)
{
    const QList<M::Run> log = {run("b", "b again", true), run("a", "a done"), run("b", "b first")};
    EXPECT_EQ(M::newestOutcome(QStringLiteral("b"), log), log[0]);
    EXPECT_EQ(M::newestOutcome(QStringLiteral("a"), log), log[1]);
    EXPECT_FALSE(M::newestOutcome(QStringLiteral("c"), log));

    const M::CardLook failed = M::cardLook(task("b"), M::cardInputs(task("b"), std::nullopt, log, std::nullopt, true));
    EXPECT_EQ(failed.outcome,
              (M::OutcomeLook{QStringLiteral("exclamationmark.triangle.fill"), PaletteRole::danger,
                              QStringLiteral("b again"), PaletteRole::danger}));
    const M::CardLook done = M::cardLook(task("a"), M::cardInputs(task("a"), std::nullopt, log, std::nullopt, true));
    EXPECT_EQ(done.outcome,
              (M::OutcomeLook{QStringLiteral("checkmark.circle.fill"), PaletteRole::accent, QStringLiteral("a done"),
                              PaletteRole::accentDeep}));
    EXPECT_FALSE(M::cardLook(task("c"), M::cardInputs(task("c"), std::nullopt, log, std::nullopt, true)).outcome);
}

TEST(MaintenancePresentation, RecentRunsAreTheEightNewestWithoutTaskNames)
{
    platform::Seam<QDateTime>::Override clock{platform::clock(), kNow};
    EXPECT_TRUE(M::recentRuns({}).isEmpty());
    QList<M::Run> log;
    for (int i = 0; i < 9; ++i) {
        log.append(run(QStringLiteral("t") + QString::number(i), QStringLiteral("message ") + QString::number(i),
                       i == 1, (i + 1) * 60));
    }
    const QList<M::RecentRun> rows = M::recentRuns(log);
    ASSERT_EQ(rows.size(), 8);
    EXPECT_EQ(rows[0],
              (M::RecentRun{QStringLiteral("checkmark.circle.fill"), PaletteRole::accent, QStringLiteral("message 0"),
                            QStringLiteral("1 min. ago")}));
    EXPECT_EQ(rows[1],
              (M::RecentRun{QStringLiteral("xmark.circle.fill"), PaletteRole::danger, QStringLiteral("message 1"),
                            QStringLiteral("2 min. ago")}));
    EXPECT_EQ(rows[7].message, QStringLiteral("message 7"));
}

// The screen with a scripted engine ------------------------------------------

namespace {

// How the engine's runs end, chosen by the test before it opens the gate.
struct RunScript {
    std::mutex mutex;
    std::shared_ptr<test::Gate> gate = std::make_shared<test::Gate>();
    std::function<MaintenanceResult()> outcome = [] { return MaintenanceResult(QStringLiteral("Done.")); };
    std::atomic<int> snapshotMeasures = 0;
    LocalSnapshots snapshots;
};

struct MaintenanceScreen {
    test::FixtureTree tree;
    MemoryDefaults defaults;
    std::shared_ptr<RunScript> script = std::make_shared<RunScript>();
    std::shared_ptr<BackgroundRunner> runner = std::make_shared<BackgroundRunner>(4);
    std::unique_ptr<AppModel> model;
    QList<MaintenanceTask> tasks;
    std::unique_ptr<MaintenanceView> view;

    explicit MaintenanceScreen(std::function<MaintenanceResult(const MaintenanceTask&)> runTask = {})
    {
        ModelEngine engine = test::quietEngine();
        engine.runMaintenance = runTask ? std::move(runTask) : [script = script](const MaintenanceTask&) {
            script->gate->pass();
            std::function<MaintenanceResult()> outcome;
            {
                std::lock_guard lock(script->mutex);
                outcome = script->outcome;
            }
            return outcome();
        };
        engine.localSnapshots = [script = script](const QString&) {
            ++script->snapshotMeasures;
            std::lock_guard lock(script->mutex);
            return script->snapshots;
        };
        AppModel::Setup setup;
        setup.engine = std::move(engine);
        setup.updateConfiguration = QuorvaneConfiguration(QStringLiteral("harborlite"), QUrl("http://127.0.0.1:9"));
        setup.bundleInformation = {};
        setup.runner = runner;
        setup.scheduleTick = [](QObject*, double, std::function<void()>) {};
        model = std::make_unique<AppModel>(defaults, std::move(setup));

        const QString present = test::writeFakeTool(tree.root(), "present", "exit 0");
        const QString plainFile = tree.file(QStringLiteral("not-executable"), 10);
        tasks = {task("first", true, present), task("second", false, present),
                 task("missing", true, tree.path(QStringLiteral("no/such/tool"))), task("plain", false, plainFile),
                 task("thinSnapshots", true, present)};
    }

    ~MaintenanceScreen()
    {
        script->gate->open();
        view.reset();
        model.reset();
        runner->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    SystemTools& tools() const { return model->systemTools(); }

    MaintenanceView& open()
    {
        view = std::make_unique<MaintenanceView>(tools(), model->monitorFeed(), tasks);
        view->resize(1000, 900);
        view->show();
        test::settle();
        return *view;
    }

    MaintenanceCard* card(const QString& id) const
    {
        for (MaintenanceCard* each : view->cards()) {
            if (each->task().id == id) {
                return each;
            }
        }
        return nullptr;
    }

    void setOutcome(std::function<MaintenanceResult()> outcome)
    {
        std::lock_guard lock(script->mutex);
        script->outcome = std::move(outcome);
    }

    // Presses Run on the card as the pointer would.
    void press(const QString& id) const { QTest::mouseClick(card(id)->runButton(), Qt::LeftButton); }

    // Lets the held run end and waits until the model has taken its outcome.
    void finishRun()
    {
        script->gate->open();
        waitFor([&] { return !tools().runningMaintenance(); });
        test::settle();
        script->gate = std::make_shared<test::Gate>();
    }
};

struct Shown {
    QString button;
    bool spinner;
    bool enabled;
};

Shown shown(const MaintenanceCard* card)
{
    return {card->runButton()->text(), card->runButton()->showsSpinner(), card->runButton()->isEnabled()};
}

} // namespace

TEST(MaintenanceView, OneCardPerTaskInOrderWithAvailabilityFromTheTool)
{
    MaintenanceScreen screen;
    MaintenanceView& view = screen.open();
    ASSERT_EQ(view.cards().size(), 5);
    QStringList ids;
    for (const MaintenanceCard* card : view.cards()) {
        ids.append(card->task().id);
    }
    EXPECT_EQ(ids, (QStringList{"first", "second", "missing", "plain", "thinSnapshots"}));
    EXPECT_EQ(shown(screen.card("first")).button, QStringLiteral("Run"));
    EXPECT_TRUE(shown(screen.card("first")).enabled);
    for (const QString& id : {QStringLiteral("missing"), QStringLiteral("plain")}) {
        EXPECT_EQ(shown(screen.card(id)).button, QStringLiteral("Unavailable")) << id.toStdString();
        EXPECT_FALSE(shown(screen.card(id)).enabled) << id.toStdString();
        EXPECT_FALSE(screen.card(id)->findChild<RoleLabel*>(QStringLiteral("unavailableMarker"))->isHidden());
    }
    EXPECT_TRUE(screen.card("first")->findChild<RoleLabel*>(QStringLiteral("unavailableMarker"))->isHidden());
    // Both the marker and the lock on an administrator task without its tool.
    const auto* lock = screen.card("missing")->findChild<SymbolView*>(QStringLiteral("lock"));
    EXPECT_FALSE(lock->isHidden());
    EXPECT_EQ(lock->toolTip(), QStringLiteral("Asks for an administrator password."));
    EXPECT_TRUE(screen.card("second")->findChild<SymbolView*>(QStringLiteral("lock"))->isHidden());
    EXPECT_EQ(view.recentRunsPanel(), nullptr);
    EXPECT_EQ(view.findChild<ScreenHeader*>()->titleLabel()->text(), QStringLiteral("Maintenance"));

    // The check is made again at each drawing: a tool that appears counts.
    test::writeFakeTool(screen.tree.folder(QStringLiteral("no/such")), "tool", "exit 0");
    view.refreshNow();
    EXPECT_EQ(shown(screen.card("missing")).button, QStringLiteral("Run"));
}

TEST(MaintenanceView, ARunGoesFromRunningToItsOutcome)
{
    MaintenanceScreen screen;
    MaintenanceView& view = screen.open();
    screen.press(QStringLiteral("first"));
    test::settle();
    EXPECT_EQ(screen.tools().runningMaintenance(), std::optional<QString>(QStringLiteral("first")));
    const Shown running = shown(screen.card("first"));
    EXPECT_EQ(running.button, QStringLiteral("Running\u2026"));
    EXPECT_TRUE(running.spinner);
    EXPECT_FALSE(running.enabled);
    EXPECT_EQ(shown(screen.card("second")).button, QStringLiteral("Run"));
    EXPECT_FALSE(shown(screen.card("second")).enabled);
    EXPECT_EQ(shown(screen.card("missing")).button, QStringLiteral("Unavailable"));
    // A second press while one runs changes nothing.
    screen.press(QStringLiteral("second"));
    EXPECT_EQ(screen.tools().runningMaintenance(), std::optional<QString>(QStringLiteral("first")));

    screen.setOutcome([] { return QStringLiteral("Inactive memory released."); });
    screen.finishRun();
    const Shown idle = shown(screen.card("first"));
    EXPECT_EQ(idle.button, QStringLiteral("Run"));
    EXPECT_FALSE(idle.spinner);
    EXPECT_TRUE(idle.enabled);
    EXPECT_TRUE(shown(screen.card("second")).enabled);
    const MaintenanceCard* card = screen.card("first");
    EXPECT_FALSE(card->findChild<QWidget*>(QStringLiteral("outcomeRow"))->isHidden());
    EXPECT_EQ(card->findChild<ClampedLabel*>(QStringLiteral("outcome"))->text(),
              QStringLiteral("Inactive memory released."));
    EXPECT_EQ(test::roleOf(card->findChild<ClampedLabel*>(QStringLiteral("outcome"))->color()),
              PaletteRole::accentDeep);
    ASSERT_NE(view.recentRunsPanel(), nullptr);
    ASSERT_EQ(view.recentRunRows().size(), 1);
    EXPECT_EQ(view.recentRunRows().front().message, QStringLiteral("Inactive memory released."));
    EXPECT_EQ(view.recentRunRows().front().symbol, QStringLiteral("checkmark.circle.fill"));
    EXPECT_EQ(view.recentRunsPanel()->findChildren<QWidget*>(QStringLiteral("recentRun")).size(), 1);
}

TEST(MaintenanceView, AFailureShowsInTheErrorStyle)
{
    MaintenanceScreen screen;
    MaintenanceView& view = screen.open();
    screen.setOutcome([]() -> QString { throw RunError::commandFailed(QStringLiteral("resolvectl: not running")); });
    screen.press(QStringLiteral("second"));
    screen.finishRun();
    const MaintenanceCard* card = screen.card("second");
    EXPECT_EQ(card->look().outcome,
              (M::OutcomeLook{QStringLiteral("exclamationmark.triangle.fill"), PaletteRole::danger,
                              QStringLiteral("resolvectl: not running"), PaletteRole::danger}));
    EXPECT_EQ(test::roleOf(card->findChild<ClampedLabel*>(QStringLiteral("outcome"))->color()), PaletteRole::danger);
    EXPECT_TRUE(shown(card).enabled);
    ASSERT_EQ(view.recentRunRows().size(), 1);
    EXPECT_EQ(view.recentRunRows().front().symbol, QStringLiteral("xmark.circle.fill"));
    EXPECT_EQ(view.recentRunRows().front().symbolRole, PaletteRole::danger);
    const auto* message = view.recentRunsPanel()->findChild<RoleLabel*>(QStringLiteral("recentRunMessage"));
    EXPECT_EQ(test::roleOf(message->color()), PaletteRole::inkSecondary);
}

// Compacting Mail where there is no Mail database did nothing: the card and
// the log say so in a neutral style, neither a success nor a failure.
TEST(MaintenanceView, NothingToDoIsNeitherSuccessNorFailure)
{
    MaintenanceScreen screen;
    MaintenanceView& view = screen.open();
    screen.setOutcome([] { return MaintenanceResult(QStringLiteral("No Mail database found to compact."), true); });
    screen.press(QStringLiteral("second"));
    screen.finishRun();
    const MaintenanceCard* card = screen.card("second");
    EXPECT_EQ(card->look().outcome,
              (M::OutcomeLook{QStringLiteral("info.circle.fill"), PaletteRole::inkTertiary,
                              QStringLiteral("No Mail database found to compact."), PaletteRole::inkSecondary}));
    EXPECT_EQ(test::roleOf(card->findChild<ClampedLabel*>(QStringLiteral("outcome"))->color()),
              PaletteRole::inkSecondary);
    ASSERT_EQ(view.recentRunRows().size(), 1);
    EXPECT_EQ(view.recentRunRows().front().symbol, QStringLiteral("info.circle.fill"));
    EXPECT_EQ(view.recentRunRows().front().symbolRole, PaletteRole::inkTertiary);
    ASSERT_FALSE(screen.tools().maintenanceLog().isEmpty());
    EXPECT_FALSE(screen.tools().maintenanceLog().front().isError);
    EXPECT_TRUE(screen.tools().maintenanceLog().front().changedNothing);
}

// An unavailable card's help text names the tool it lacks; an available one has none.
TEST(MaintenanceView, AnUnavailableCardNamesItsMissingTool)
{
    MaintenanceScreen screen;
    screen.open();
    const QString missing = screen.tree.path(QStringLiteral("no/such/tool"));
    EXPECT_EQ(screen.card("missing")->toolTip(), "Needs " + missing + ", which is not installed here.");
    EXPECT_EQ(screen.card("missing")->findChild<RoleLabel*>(QStringLiteral("unavailableMarker"))->toolTip(),
              screen.card("missing")->toolTip());
    EXPECT_EQ(screen.card("plain")->look().unavailableReason,
              "Needs " + screen.tree.path(QStringLiteral("not-executable")) + ", which is not installed here.");
    EXPECT_TRUE(screen.card("first")->toolTip().isEmpty());
    EXPECT_FALSE(screen.card("first")->look().unavailableReason);
}

TEST(MaintenanceView, ACancelledPasswordPromptLeavesNoEntryButMeasuresAgain)
{
    MaintenanceScreen screen;
    MaintenanceView& view = screen.open();
    waitFor([&] { return screen.script->snapshotMeasures.load() == 1; });
    screen.press(QStringLiteral("first"));
    screen.finishRun();
    screen.setOutcome([]() -> QString { throw RunError::cancelled(); });
    screen.press(QStringLiteral("first"));
    test::settle();
    EXPECT_EQ(shown(screen.card("first")).button, QStringLiteral("Running\u2026"));
    screen.finishRun();
    EXPECT_EQ(screen.tools().maintenanceLog().size(), 1);
    EXPECT_EQ(view.recentRunRows().size(), 1);
    EXPECT_EQ(screen.card("first")->look().outcome->message, QStringLiteral("Done."));
    EXPECT_TRUE(shown(screen.card("first")).enabled);
    // Shown once, then one measurement at the end of each run.
    waitFor([&] { return screen.script->snapshotMeasures.load() == 3; });
}

TEST(MaintenanceView, SnapshotsAreMeasuredWhenShownAndTheLineFollows)
{
    MaintenanceScreen screen;
    {
        std::lock_guard lock(screen.script->mutex);
        screen.script->snapshots = {2, 3'000'000'000};
    }
    MaintenanceView& view = screen.open();
    waitFor([&] { return screen.tools().localSnapshots().has_value(); });
    test::settle();
    const MaintenanceCard* card = screen.card("thinSnapshots");
    EXPECT_FALSE(card->findChild<QWidget*>(QStringLiteral("reclaimableRow"))->isHidden());
    EXPECT_EQ(card->findChild<RoleLabel*>(QStringLiteral("reclaimable"))->text(),
              QStringLiteral("2 snapshots \u00B7 about 3 GB purgeable"));
    EXPECT_TRUE(screen.card("first")->findChild<QWidget*>(QStringLiteral("reclaimableRow"))->isHidden());
    EXPECT_EQ(screen.script->snapshotMeasures.load(), 1);
    Q_UNUSED(view);
}

TEST(MaintenanceView, NineRunsShowTheEightNewest)
{
    MaintenanceScreen screen;
    MaintenanceView& view = screen.open();
    for (int i = 0; i < 9; ++i) {
        screen.setOutcome([i] { return QStringLiteral("run ") + QString::number(i); });
        screen.press(i % 2 == 0 ? QStringLiteral("first") : QStringLiteral("second"));
        screen.finishRun();
    }
    ASSERT_EQ(view.recentRunRows().size(), 8);
    EXPECT_EQ(view.recentRunRows().front().message, QStringLiteral("run 8"));
    EXPECT_EQ(view.recentRunRows().back().message, QStringLiteral("run 1"));
    EXPECT_EQ(view.recentRunsPanel()->findChildren<QWidget*>(QStringLiteral("recentRun")).size(), 8);
    // Each card shows its task's newer outcome only.
    EXPECT_EQ(screen.card("first")->look().outcome->message, QStringLiteral("run 8"));
    EXPECT_EQ(screen.card("second")->look().outcome->message, QStringLiteral("run 7"));
}

TEST(MaintenanceView, LeavingTheScreenLeavesTheRunToTheModel)
{
    MaintenanceScreen screen;
    screen.open();
    screen.press(QStringLiteral("second"));
    screen.view.reset();
    screen.finishRun();
    EXPECT_EQ(screen.tools().maintenanceLog().size(), 1);
    MaintenanceView& again = screen.open();
    EXPECT_EQ(again.recentRunRows().size(), 1);
    EXPECT_EQ(screen.card("second")->look().outcome->message, QStringLiteral("Done."));
}

// The real service, its tool hanging: the runner stops it at its limit, the
// card returns to idle and shows the failure.
TEST(MaintenanceView, ATaskWhoseToolHangsEndsAtItsLimit)
{
    test::FixtureTree tools;
    platform::ToolTable table;
    table.updateDesktopDatabase = test::writeFakeTool(tools.root(), "update-desktop-database", "exec sleep 600");
    MaintenanceService::Limits limits;
    limits.launchServices = 0.5;
    MaintenanceScreen screen(
        [table, limits](const MaintenanceTask& task) { return MaintenanceService(table, limits).run(task); });
    for (const MaintenanceTask& real : MaintenanceService(table).tasks()) {
        if (real.id == QLatin1String("rebuildLaunchServices")) {
            screen.tasks = {real};
        }
    }
    screen.open();
    screen.press(QStringLiteral("rebuildLaunchServices"));
    test::settle();
    EXPECT_EQ(shown(screen.card("rebuildLaunchServices")).button, QStringLiteral("Running\u2026"));
    waitFor([&] { return !screen.tools().runningMaintenance(); });
    test::settle();
    const MaintenanceCard* card = screen.card("rebuildLaunchServices");
    EXPECT_EQ(shown(card).button, QStringLiteral("Run"));
    EXPECT_TRUE(shown(card).enabled);
    ASSERT_TRUE(card->look().outcome);
    EXPECT_EQ(card->look().outcome->symbolRole, PaletteRole::danger);
    ASSERT_EQ(screen.tools().maintenanceLog().size(), 1);
    EXPECT_TRUE(screen.tools().maintenanceLog().front().isError);
}

TEST(MaintenanceView, TheRouteShowsTheScreenWithTheMachinesTasks)
{
    MaintenanceScreen screen;
    const ScreenServices services = ScreenServices::real();
    std::unique_ptr<QWidget> shownScreen(makeDetailScreen(Route::maintenance, *screen.model, services));
    auto* view = qobject_cast<MaintenanceView*>(shownScreen.get());
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->cards().size(), 8);
    QStringList ids;
    for (const MaintenanceCard* card : view->cards()) {
        ids.append(card->task().id);
    }
    EXPECT_EQ(ids,
              (QStringList{"freeRAM", "flushDNS", "rebuildSpotlight", "rebuildLaunchServices", "repairPermissions",
                           "speedUpMail", "thinSnapshots", "verifyDisk"}));
}

// Looks ----------------------------------------------------------------------

TEST(MaintenanceViewLook, WritesTheScreenLightAndDark)
{
    MaintenanceScreen screen;
    screen.tasks = MaintenanceService().tasks();
    {
        std::lock_guard lock(screen.script->mutex);
        screen.script->snapshots = {3, 2'400'000'000};
    }
    screen.setOutcome([] { return QStringLiteral("DNS cache flushed."); });
    screen.tools().runMaintenance(screen.tasks[1]);
    screen.finishRun();
    screen.setOutcome([]() -> QString {
        throw RunError::commandFailed(
            QStringLiteral("sync: error syncing '/media/backup': Input/output error, and a second line that runs on "
                           "long enough to be cut at two lines on the card"));
    });
    screen.tools().runMaintenance(screen.tasks[0]);
    screen.finishRun();
    screen.tools().refreshLocalSnapshots();
    waitFor([&] { return screen.tools().localSnapshots().has_value(); });
    screen.tools().runMaintenance(screen.tasks[5]);
    for (const QSize size : {QSize(1000, 1180), QSize(1400, 900)}) {
        const QStringList files = test::renderScreens(
            [&]() -> QWidget* {
                return new MaintenanceView(screen.tools(), screen.model->monitorFeed(), screen.tasks);
            },
            QStringLiteral("maintenance-") + QString::number(size.width()), size);
        EXPECT_EQ(files.size(), 2);
    }
}
