#include "model/FakeEngine.h"
#include "shared/MemoryDefaults.h"
#include "support/QtPrinters.h"
#include "model/AppModel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using namespace harborlite;
using harborlite::test::Gate;
using harborlite::test::ScanScript;
using harborlite::test::SignalCount;
using harborlite::test::waitFor;

namespace {

MaintenanceTask task(const QString& id, const QString& title = {})
{
    MaintenanceTask result;
    result.id = id;
    result.title = title;
    return result;
}

const QString ellipsis = QString(QChar(0x2026));

StartupItem agentItem()
{
    StartupItem item;
    item.label = "agent";
    item.url = "/agents/agent.plist";
    return item;
}

RunningProcess runningProcess(qint32 pid, const QString& name)
{
    RunningProcess process;
    process.pid = pid;
    process.name = name;
    return process;
}

// Services that answer at once with what the test put in, or wait at a gate.
struct FakeServices {
    std::mutex mutex;
    QList<InstalledApp> apps;
    std::atomic<int> appLoads{0};
    std::shared_ptr<Gate> appGate;
    std::atomic<int> startupLoads{0};
    std::function<void(bool, const StartupItem&)> switchItem = [](bool, const StartupItem&) {};
    std::function<QString(const MaintenanceTask&)> maintenance = [](const MaintenanceTask& task) {
        return task.id + " done";
    };
    std::shared_ptr<Gate> maintenanceGate;
    std::atomic<int> processLoads{0};
    std::atomic<int> processLimit{0};
    bool quitAnswer = false;
    QList<bool> quitForces;
    QStringList removedLocations;
    bool removedUserSelected = false;
    std::optional<Remover::Mode> removedMode;
    CleanupReport report;
    std::shared_ptr<Gate> removeGate;
    std::atomic<int> samples{0};
    std::shared_ptr<Gate> samplerGate;
    QList<SystemSnapshot> snapshots;
};

class AppModelTest : public ::testing::Test {
protected:
    MemoryDefaults defaults;
    ScanScript script;
    std::shared_ptr<FakeServices> services = std::make_shared<FakeServices>();
    std::shared_ptr<BackgroundRunner> runner = std::make_shared<BackgroundRunner>(8);
    // Ticks the monitoring loop asked for, with their waits.
    QList<double> tickWaits;
    QList<std::function<void()>> ticks;
    std::unique_ptr<AppModel> model;
    QList<std::shared_ptr<Gate>> heldGates;

    ~AppModelTest() override
    {
        for (const auto& gate : heldGates) {
            gate->open();
        }
        script.releaseAll();
        for (const auto& gate : {services->appGate, services->maintenanceGate, services->removeGate,
                                 services->samplerGate}) {
            if (gate) {
                gate->open();
            }
        }
        model.reset();
        runner->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    ModelEngine engine()
    {
        ModelEngine engine;
        engine.scanner = [this](ScanCategory category) { return script.scanner(category); };
        engine.remove = [services = services](const QStringList& locations, bool userSelected, Remover::Mode mode) {
            if (services->removeGate) {
                services->removeGate->pass();
            }
            std::lock_guard lock(services->mutex);
            services->removedLocations = locations;
            services->removedUserSelected = userSelected;
            services->removedMode = mode;
            return services->report;
        };
        engine.installedApps = [services = services](const ModelEngine::CancelTest&) {
            ++services->appLoads;
            if (services->appGate) {
                services->appGate->pass();
            }
            std::lock_guard lock(services->mutex);
            return services->apps;
        };
        engine.hasFullDiskAccess = [] { return false; };
        engine.makeSampler = [services = services] {
            return ModelEngine::Sampler([services] {
                const int index = services->samples++;
                if (services->samplerGate) {
                    services->samplerGate->pass();
                }
                std::lock_guard lock(services->mutex);
                return index < services->snapshots.size() ? services->snapshots[index] : SystemSnapshot{};
            });
        };
        engine.topProcesses = [services = services](int limit) {
            ++services->processLoads;
            services->processLimit = limit;
            return QList<RunningProcess>{runningProcess(7, "worker")};
        };
        engine.quit = [services = services](const RunningProcess&, bool force) {
            services->quitForces.append(force);
            return services->quitAnswer;
        };
        engine.startupItems = [services = services] {
            ++services->startupLoads;
            return QList<StartupItem>{agentItem()};
        };
        engine.setStartupItemEnabled = [services = services](bool enabled, const StartupItem& item) {
            services->switchItem(enabled, item);
        };
        engine.runMaintenance = [services = services](const MaintenanceTask& task) {
            if (services->maintenanceGate) {
                services->maintenanceGate->pass();
            }
            return services->maintenance(task);
        };
        engine.storageBreakdown = [](const QString&) { return StorageBreakdown{100, 40, {}, 0, 0}; };
        engine.localSnapshots = [](const QString&) { return LocalSnapshots{2, 5}; };
        engine.buildDiskTree = ModelEngine::real().buildDiskTree;
        engine.listDirectory = ModelEngine::real().listDirectory;
        return engine;
    }

    AppModel::Setup setup()
    {
        AppModel::Setup setup;
        setup.engine = engine();
        setup.updateConfiguration = QuorvaneConfiguration("harborlite", QUrl("http://127.0.0.1:9"));
        setup.bundleInformation = {};
        setup.systemVersion = {12, 0, 0};
        setup.runner = runner;
        setup.scheduleTick = [this](QObject*, double seconds, std::function<void()> tick) {
            tickWaits.append(seconds);
            ticks.append(std::move(tick));
        };
        return setup;
    }

    AppModel& makeModel()
    {
        model = std::make_unique<AppModel>(defaults, setup());
        return *model;
    }

    // Runs the monitoring loop's next tick as its timer would.
    void fireTick(qsizetype index)
    {
        const std::function<void()> tick = ticks.at(index);
        tick();
    }

    bool idle(ScanCategory category) const { return !model->runningCategories().contains(category); }
    bool hasResult(ScanCategory category) const { return model->result(category).has_value(); }
    QString itemName(ScanCategory category) const
    {
        return model->result(category)->groups.at(0).items.at(0).displayName;
    }
};

} // namespace

// Construction --------------------------------------------------------------

TEST_F(AppModelTest, AFreshModelHoldsTheInitialValues)
{
    const AppModel& fresh = makeModel();

    EXPECT_EQ(fresh.route(), Route::smartScan);
    EXPECT_TRUE(fresh.results().empty());
    EXPECT_TRUE(fresh.progress().empty());
    EXPECT_TRUE(fresh.runningCategories().empty());
    EXPECT_EQ(fresh.smartScanProgress(), 0);
    EXPECT_EQ(fresh.smartScanMessage(), "Ready to scan");
    EXPECT_FALSE(fresh.isSmartScanning());
    EXPECT_FALSE(fresh.lastSmartScan());
    EXPECT_FALSE(fresh.lastReport());
    EXPECT_FALSE(fresh.isCleaning());
    EXPECT_EQ(fresh.cleanupMode(), Remover::Mode::trash);
    EXPECT_EQ(fresh.snapshot(), SystemSnapshot{});
    EXPECT_TRUE(fresh.apps().isEmpty());
    EXPECT_FALSE(fresh.diskTree());
    EXPECT_EQ(fresh.treeProgress(), AppModel::TreeProgress{});
    EXPECT_FALSE(fresh.showUpdateSheet());
    EXPECT_TRUE(fresh.cpuSeries().isEmpty());
    EXPECT_TRUE(fresh.storageSeries().isEmpty());
    EXPECT_TRUE(fresh.hasFullDiskAccess());
    EXPECT_TRUE(fresh.maintenanceLog().isEmpty());
    EXPECT_FALSE(fresh.runningMaintenance());
    EXPECT_FALSE(fresh.banner());
    EXPECT_TRUE(defaults.writes().isEmpty());
}

TEST_F(AppModelTest, RestoresTheStoredRouteAndSavesTheSelectedOne)
{
    const std::vector<std::pair<QJsonValue, Route>> cases{
        {QJsonValue("ruvozEzaz"), Route::ruvozEzaz}, {QJsonValue("RuvozEzaz"), Route::smartScan},
        {QJsonValue(""), Route::smartScan},          {QJsonValue(3), Route::smartScan},
    };
    for (const auto& [stored, route] : cases) {
        defaults.setValue("nav.route", stored);
        EXPECT_EQ(makeModel().route(), route) << stored.toVariant().toString().toStdString();
    }

    SignalCount routeChanged(model.get(), &AppModel::routeChanged);
    model->setRoute(Route::maintenance);
    model->persistRoute();
    EXPECT_EQ(routeChanged.count(), 1);
    EXPECT_EQ(defaults.values().value("nav.route").toString(), "maintenance");
}

TEST_F(AppModelTest, ForwardsEveryChangeOfTheSettingsAndTheUpdateChecker)
{
    makeModel();
    SignalCount willChange(model.get(), &AppModel::objectWillChange);

    model->settings().setRefreshInterval(5);
    EXPECT_EQ(willChange.count(), 1);
    model->updates().clearManualResult();
    EXPECT_EQ(willChange.count(), 2);
}

// Scans ---------------------------------------------------------------------

TEST_F(AppModelTest, AScanStartedTwiceRunsOnceAndKeepsItsLastProgress)
{
    makeModel();
    script.hold(ScanCategory::trash);
    script.setReports(ScanCategory::trash, {{0.5, "Reading", 10}, {1.0, "Done", 20}});
    SignalCount resultsChanged(model.get(), &AppModel::resultsChanged);

    model->scan(ScanCategory::trash);
    const ScanProgress starting = model->progress().at(ScanCategory::trash);
    EXPECT_EQ(starting.fraction, 0);
    EXPECT_EQ(starting.message, "Starting" + ellipsis);
    EXPECT_EQ(starting.bytesFound, 0);
    model->scan(ScanCategory::trash);
    EXPECT_TRUE(model->runningCategories().contains(ScanCategory::trash));

    script.release(ScanCategory::trash);
    waitFor([&] { return hasResult(ScanCategory::trash); });

    EXPECT_EQ(script.started(ScanCategory::trash), 1);
    EXPECT_TRUE(idle(ScanCategory::trash));
    EXPECT_EQ(model->progress().at(ScanCategory::trash).message, "Done");
    EXPECT_EQ(model->progress().at(ScanCategory::trash).bytesFound, 20);
    EXPECT_EQ(resultsChanged.count(), 1);
}

TEST_F(AppModelTest, TheSmartScanRunsItsEightCategoriesInOrder)
{
    makeModel();
    script.hold(ScanCategory::mailAttachments);
    script.setReports(ScanCategory::mailAttachments, {{0.5, "Half way", 0}});

    model->startSmartScan();
    EXPECT_TRUE(model->isSmartScanning());
    model->startSmartScan();
    waitFor([&] { return model->smartScanMessage() == "Half way"; });
    EXPECT_EQ(model->smartScanProgress(), 0.3125);
    EXPECT_TRUE(hasResult(ScanCategory::trash));
    EXPECT_FALSE(hasResult(ScanCategory::installers));

    script.release(ScanCategory::mailAttachments);
    waitFor([&] { return !model->isSmartScanning(); });

    EXPECT_EQ(model->smartScanProgress(), 1.0);
    EXPECT_EQ(model->smartScanMessage(), "Scan complete");
    EXPECT_TRUE(model->lastSmartScan());
    EXPECT_EQ(model->results().size(), 8u);
    EXPECT_TRUE(model->runningCategories().empty());
    EXPECT_EQ(script.started(ScanCategory::systemJunk), 1);
    EXPECT_EQ(script.started(ScanCategory::largeAndOld), 0);
}

TEST_F(AppModelTest, TheSmartScanShowsWhichCategoryItScansUntilItsScannerReports)
{
    makeModel();
    script.hold(ScanCategory::systemJunk);

    model->startSmartScan();

    EXPECT_EQ(model->smartScanMessage(), "Scanning System Junk" + ellipsis);
    EXPECT_TRUE(model->runningCategories().contains(ScanCategory::systemJunk));
    EXPECT_FALSE(model->progress().contains(ScanCategory::systemJunk));
}

TEST_F(AppModelTest, StopDuringTheFourthCategoryKeepsWhatWasFoundAndNeverResumes)
{
    makeModel();
    script.hold(ScanCategory::installers);
    script.hold(ScanCategory::downloadedMedia);

    model->startSmartScan();
    waitFor([&] { return model->runningCategories().contains(ScanCategory::installers); });
    model->cancelScan();
    EXPECT_FALSE(model->isSmartScanning());
    EXPECT_EQ(model->smartScanMessage(), "Scan cancelled");
    model->cancelScan();
    script.wakeAll();
    waitFor([&] { return model->lastSmartScan().has_value(); });

    EXPECT_EQ(itemName(ScanCategory::mailAttachments), "whole");
    EXPECT_EQ(itemName(ScanCategory::installers), "partial");
    EXPECT_FALSE(hasResult(ScanCategory::downloadedMedia));
    EXPECT_EQ(model->smartScanProgress(), 1.0);
    EXPECT_EQ(model->smartScanMessage(), "Scan cancelled");
    EXPECT_FALSE(model->isSmartScanning());

    // A scan started afterwards does not wake the stopped smart scan.
    model->scan(ScanCategory::trash);
    waitFor([&] { return idle(ScanCategory::trash); });
    EXPECT_EQ(script.started(ScanCategory::downloadedMedia), 0);
}

TEST_F(AppModelTest, StopWhenNothingRunsOnlyResetsTheFlags)
{
    makeModel();
    SignalCount messageChanged(model.get(), &AppModel::smartScanMessageChanged);

    model->cancelScan();
    model->cancelScan();

    EXPECT_EQ(model->smartScanMessage(), "Scan cancelled");
    EXPECT_FALSE(model->isSmartScanning());
    EXPECT_FALSE(model->isBuildingTree());
    EXPECT_TRUE(model->runningCategories().empty());
    EXPECT_EQ(messageChanged.count(), 2);
}

TEST_F(AppModelTest, AStoppedScanFinishingLateNeverOverwritesItsSuccessor)
{
    makeModel();
    const std::shared_ptr<Gate> stopped = script.hold(ScanCategory::trash);
    heldGates.append(stopped);
    model->scan(ScanCategory::trash);
    script.waitStarted(ScanCategory::trash);
    model->cancelScan();

    // The stopped scan still waits when the new one starts and ends.
    script.hold(ScanCategory::trash);
    model->scan(ScanCategory::trash);
    script.release(ScanCategory::trash);
    waitFor([&] { return hasResult(ScanCategory::trash); });
    stopped->open();
    runner->waitForDone();
    QCoreApplication::sendPostedEvents();

    EXPECT_EQ(script.started(ScanCategory::trash), 2);
    EXPECT_EQ(itemName(ScanCategory::trash), "whole");
    EXPECT_TRUE(idle(ScanCategory::trash));
}

TEST_F(AppModelTest, AStoppedSmartScanEndingLateLeavesTheNewOneRunning)
{
    makeModel();
    heldGates.append(script.hold(ScanCategory::systemJunk));
    model->startSmartScan();
    script.waitStarted(ScanCategory::systemJunk);
    model->cancelScan();
    script.wakeAll();
    runner->waitForDone();

    // The stopped scan's result is queued when the new smart scan starts.
    script.hold(ScanCategory::systemJunk);
    model->startSmartScan();
    QCoreApplication::sendPostedEvents();

    EXPECT_TRUE(model->isSmartScanning());
    EXPECT_EQ(model->smartScanMessage(), "Scanning System Junk" + ellipsis);
    EXPECT_FALSE(hasResult(ScanCategory::systemJunk));
    EXPECT_FALSE(model->lastSmartScan());
    EXPECT_TRUE(model->runningCategories().contains(ScanCategory::systemJunk));
}

// Selection and cleanup -----------------------------------------------------

namespace {

ScanItem item(const QString& url, qint64 size, bool selected)
{
    ScanItem made;
    made.url = url;
    made.displayName = url;
    made.size = size;
    made.isSelected = selected;
    return made;
}

CategoryResult resultWith(ScanCategory category, QList<ScanGroup> groups)
{
    return {category, std::move(groups), QDateTime::currentDateTimeUtc()};
}

} // namespace

class AppModelSelectionTest : public AppModelTest {
protected:
    // Scanners of the placed categories return the placed result.
    class Fixed : public CategoryScanner {
    public:
        explicit Fixed(CategoryResult result) : result_(std::move(result)) {}
        ScanCategory category() const override { return result_.category; }
        CategoryResult scan(const ProgressCallback&, const CancelPredicate&) const override { return result_; }

    private:
        CategoryResult result_;
    };

    void SetUp() override
    {
        AppModel::Setup made = setup();
        made.engine.scanner = [this](ScanCategory category) -> std::unique_ptr<CategoryScanner> {
            const auto found = fixed.find(category);
            if (found != fixed.end()) {
                return std::make_unique<Fixed>(found->second);
            }
            return script.scanner(category);
        };
        model = std::make_unique<AppModel>(defaults, std::move(made));
    }

    // Stores the result in the model through a scan.
    void place(const CategoryResult& result)
    {
        fixed.insert_or_assign(result.category, result);
        model->scan(result.category);
        waitFor([&] { return idle(result.category); });
    }

    std::map<ScanCategory, CategoryResult> fixed;
};

TEST_F(AppModelTest, SelectionEditsRewriteTheStoredResult)
{
    makeModel();
    // A group of five with three selected, an empty group and an unknown one.
    ScanGroup mixed;
    mixed.items = {item("/a", 1, true), item("/b", 2, true), item("/c", 3, true), item("/d", 4, false),
                   item("/e", 5, false)};
    ScanGroup empty;
    script.hold(ScanCategory::systemJunk);
    model->scan(ScanCategory::systemJunk);
    script.release(ScanCategory::systemJunk);
    waitFor([&] { return hasResult(ScanCategory::systemJunk); });
    const ScanGroup scanned = model->result(ScanCategory::systemJunk)->groups.at(0);
    SignalCount resultsChanged(model.get(), &AppModel::resultsChanged);

    // Items and groups are found by id only.
    model->toggleItem(scanned.items.at(0), ScanCategory::systemJunk);
    EXPECT_FALSE(model->result(ScanCategory::systemJunk)->groups.at(0).items.at(0).isSelected);
    model->toggleItem(item("/unknown", 1, true), ScanCategory::systemJunk);
    EXPECT_FALSE(model->result(ScanCategory::systemJunk)->groups.at(0).items.at(0).isSelected);
    EXPECT_EQ(resultsChanged.count(), 2);

    model->toggleGroup(scanned, ScanCategory::systemJunk);
    EXPECT_EQ(model->result(ScanCategory::systemJunk)->groups.at(0).selectionState(), ScanGroup::SelectionState::all);
    model->toggleGroup(scanned, ScanCategory::systemJunk);
    EXPECT_EQ(model->result(ScanCategory::systemJunk)->groups.at(0).selectionState(),
              ScanGroup::SelectionState::none);
    model->toggleGroup(mixed, ScanCategory::systemJunk);
    model->setExpanded(true, mixed, ScanCategory::systemJunk);
    EXPECT_EQ(resultsChanged.count(), 4);

    model->setExpanded(true, scanned, ScanCategory::systemJunk);
    model->setExpanded(true, scanned, ScanCategory::systemJunk);
    EXPECT_TRUE(model->result(ScanCategory::systemJunk)->groups.at(0).isExpanded);
    EXPECT_EQ(resultsChanged.count(), 6);

    // A category without a result is left alone.
    model->toggleItem(scanned.items.at(0), ScanCategory::trash);
    model->toggleGroup(empty, ScanCategory::trash);
    EXPECT_EQ(resultsChanged.count(), 6);
    EXPECT_FALSE(hasResult(ScanCategory::trash));
}

TEST_F(AppModelSelectionTest, TogglingAGroupSelectsAllUnlessAllAreSelected)
{
    ScanGroup mixed;
    mixed.items = {item("/a", 1, true), item("/b", 2, true), item("/c", 3, true), item("/d", 4, false),
                   item("/e", 5, false)};
    ScanGroup empty;
    place(resultWith(ScanCategory::leftovers, {mixed, empty}));
    SignalCount resultsChanged(model.get(), &AppModel::resultsChanged);

    model->toggleGroup(mixed, ScanCategory::leftovers);
    EXPECT_EQ(model->result(ScanCategory::leftovers)->selectedCount(), 5);
    model->toggleGroup(mixed, ScanCategory::leftovers);
    EXPECT_EQ(model->result(ScanCategory::leftovers)->selectedCount(), 0);
    model->toggleGroup(empty, ScanCategory::leftovers);
    EXPECT_EQ(resultsChanged.count(), 3);
}

TEST_F(AppModelSelectionTest, TotalsCountEveryItemSelectedOrNot)
{
    ScanGroup group;
    group.items = {item("/a", 100, false), item("/b", 50, true)};
    place(resultWith(ScanCategory::duplicates, {group}));

    EXPECT_EQ(model->totalJunk(), 0);
    EXPECT_EQ(model->reclaimable(), 150);

    place(resultWith(ScanCategory::trash, {group}));
    EXPECT_EQ(model->totalJunk(), 150);
    EXPECT_EQ(model->reclaimable(), 300);
}

TEST_F(AppModelSelectionTest, CleanRemovesTheSelectionAndReportsWithABanner)
{
    struct Case {
        CleanupReport report;
        QString title;
        QString message;
    };
    const std::vector<Case> cases{
        {{2'500'000, 2, {}, 0.1}, "Cleanup complete", "2.5 MB reclaimed from 2 item(s)."},
        {{0, 2, {{"/x", "Protected"}}, 0.1},
         "Cleanup finished with skips",
         "0 KB reclaimed from 2 item(s). 1 item(s) were protected and left alone."},
        {{-5, 0, {}, 0.1}, "Cleanup complete", "0 KB reclaimed from 0 item(s)."},
    };
    ScanGroup first;
    first.items = {item("/junk/a", 10, true), item("/junk/b", 20, false), item("/junk/c", 30, true)};
    ScanGroup second;
    second.items = {item("/trash/d", 40, false)};
    for (const Case& c : cases) {
        place(resultWith(ScanCategory::systemJunk, {first}));
        place(resultWith(ScanCategory::trash, {second}));
        place(resultWith(ScanCategory::largeAndOld, {second}));
        services->report = c.report;
        model->setCleanupMode(Remover::Mode::permanent);

        model->clean({ScanCategory::systemJunk, ScanCategory::trash});
        EXPECT_TRUE(model->isCleaning());
        model->setCleanupMode(Remover::Mode::shred);
        waitFor([&] { return !model->isCleaning(); });

        EXPECT_EQ(services->removedLocations, QStringList({"/junk/a", "/junk/c"}));
        EXPECT_FALSE(services->removedUserSelected);
        EXPECT_EQ(services->removedMode, Remover::Mode::permanent);
        ASSERT_TRUE(model->banner());
        EXPECT_EQ(model->banner()->title, c.title);
        EXPECT_EQ(model->banner()->message, c.message);
        EXPECT_FALSE(model->banner()->isError);
        EXPECT_EQ(model->lastReport()->removed, c.report.removed);
        EXPECT_FALSE(hasResult(ScanCategory::systemJunk));
        EXPECT_FALSE(hasResult(ScanCategory::trash));
        EXPECT_TRUE(hasResult(ScanCategory::largeAndOld));
    }
}

TEST_F(AppModelSelectionTest, CleanWithNothingSelectedOrWhileCleaningIsIgnored)
{
    ScanGroup unselected;
    unselected.items = {item("/a", 10, false)};
    place(resultWith(ScanCategory::trash, {unselected}));
    SignalCount willChange(model.get(), &AppModel::objectWillChange);

    model->clean({ScanCategory::trash, ScanCategory::systemJunk});
    EXPECT_EQ(willChange.count(), 0);
    EXPECT_FALSE(model->banner());

    ScanGroup selected;
    selected.items = {item("/b", 10, true)};
    place(resultWith(ScanCategory::largeAndOld, {selected}));
    services->removeGate = std::make_shared<Gate>();
    model->clean({ScanCategory::trash, ScanCategory::largeAndOld});
    model->clean({ScanCategory::largeAndOld});
    services->removeGate->open();
    waitFor([&] { return !model->isCleaning(); });

    EXPECT_TRUE(services->removedUserSelected);
    EXPECT_EQ(services->removedLocations, QStringList({"/b"}));
    EXPECT_FALSE(hasResult(ScanCategory::trash));
}

// Tool operations -----------------------------------------------------------

TEST_F(AppModelTest, LoadingApplicationsTwiceLoadsOnce)
{
    makeModel();
    services->apps = {{"org.example.editor", "Editor", "/Applications/Editor.app", "1.0", 10, {}, false, true, InstalledApp::Kind::bundle, {}}};
    services->appGate = std::make_shared<Gate>();

    model->loadApps();
    model->loadApps();
    EXPECT_TRUE(model->isLoadingApps());
    services->appGate->open();
    waitFor([&] { return !model->isLoadingApps(); });

    EXPECT_EQ(services->appLoads, 1);
    ASSERT_EQ(model->apps().size(), 1);
    EXPECT_EQ(model->apps().at(0).name, "Editor");
}

TEST_F(AppModelTest, ReadsPublishTheirServicesAnswers)
{
    makeModel();
    SignalCount storageChanged(model.get(), &AppModel::storageChanged);

    model->refreshProcesses();
    model->refreshStorageBreakdown();
    model->refreshLocalSnapshots();
    model->refreshPermissions();
    model->loadStartupItems();
    waitFor([&] {
        return !model->processes().isEmpty() && model->storage() && model->localSnapshots() &&
               !model->hasFullDiskAccess() && !model->startupItems().isEmpty();
    });

    EXPECT_EQ(services->processLimit, 40);
    EXPECT_EQ(model->storage()->free, 40);
    EXPECT_EQ(*model->localSnapshots(), (LocalSnapshots{2, 5}));
    EXPECT_EQ(storageChanged.count(), 1);
}

TEST_F(AppModelTest, MaintenanceLogsOutcomesNewestFirstAndForgetsACancelledPrompt)
{
    makeModel();
    const MaintenanceTask flush = task("flushDNS", "Flush DNS");
    const MaintenanceTask purge = task("purge", "Free memory");
    auto runAndWait = [&](const MaintenanceTask& task) {
        model->runMaintenance(task);
        EXPECT_EQ(model->runningMaintenance(), task.id);
        waitFor([&] { return !model->runningMaintenance(); });
    };

    runAndWait(flush);
    runAndWait(flush);
    services->maintenance = [](const MaintenanceTask&) -> QString { throw ShellRunner::RunError::cancelled(); };
    runAndWait(purge);
    services->maintenance = [](const MaintenanceTask&) -> QString {
        throw ShellRunner::RunError::toolMissing("/usr/sbin/purge");
    };
    runAndWait(purge);

    const QList<AppModel::MaintenanceLogEntry>& log = model->maintenanceLog();
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[0].id, "purge");
    EXPECT_EQ(log[0].message, "This version of macOS does not include /usr/sbin/purge.");
    EXPECT_TRUE(log[0].isError);
    EXPECT_EQ(log[1].id, "flushDNS");
    EXPECT_EQ(log[1].message, "flushDNS done");
    EXPECT_FALSE(log[1].isError);
    EXPECT_EQ(log[2].id, "flushDNS");
}

TEST_F(AppModelTest, ASecondMaintenanceTaskWhileOneRunsIsDropped)
{
    makeModel();
    services->maintenanceGate = std::make_shared<Gate>();

    model->runMaintenance(task("first"));
    model->runMaintenance(task("second"));
    EXPECT_EQ(model->runningMaintenance(), "first");
    services->maintenanceGate->open();
    waitFor([&] { return !model->runningMaintenance(); });

    ASSERT_EQ(model->maintenanceLog().size(), 1);
    EXPECT_EQ(model->maintenanceLog().at(0).id, "first");
}

TEST_F(AppModelTest, AFailedSwitchShowsTheErrorAndEverySwitchReloadsTheItems)
{
    makeModel();
    const StartupItem item = agentItem();

    model->setStartupItem(item, false);
    waitFor([&] { return services->startupLoads == 1 && !model->startupItems().isEmpty(); });
    EXPECT_FALSE(model->banner());

    services->switchItem = [](bool, const StartupItem&) {
        throw ShellRunner::RunError::authorizationFailed("Not allowed");
    };
    model->setStartupItem(item, true);
    waitFor([&] { return model->banner().has_value(); });
    EXPECT_EQ(model->banner()->title, "Could not change startup item");
    EXPECT_EQ(model->banner()->message, "Administrator authorisation failed: Not allowed");
    EXPECT_TRUE(model->banner()->isError);
    waitFor([&] { return services->startupLoads == 2; });
}

TEST_F(AppModelTest, QuittingAsksTheServiceAndRefreshesTheProcesses)
{
    makeModel();
    const RunningProcess process = runningProcess(42, "helperd");
    SignalCount bannerChanged(model.get(), &AppModel::bannerChanged);

    services->quitAnswer = true;
    model->quit(process, true);
    EXPECT_EQ(bannerChanged.count(), 0);
    services->quitAnswer = false;
    model->quit(process, false);

    EXPECT_EQ(services->quitForces, QList<bool>({true, false}));
    ASSERT_TRUE(model->banner());
    EXPECT_EQ(model->banner()->title, "Could not quit helperd");
    EXPECT_EQ(model->banner()->message, "The process did not respond. Try Force Quit, or it may be a system process.");
    waitFor([&] { return services->processLoads == 2 && !model->processes().isEmpty(); });
}

// Monitoring ----------------------------------------------------------------

namespace {

SystemSnapshot sample(double cpu, qint64 used, qint64 total, qint64 free, qint64 disk, qint64 in, qint64 out)
{
    SystemSnapshot snapshot;
    snapshot.cpuUsage = cpu;
    snapshot.memoryUsed = used;
    snapshot.memoryTotal = total;
    snapshot.diskFree = free;
    snapshot.diskTotal = disk;
    snapshot.networkIn = in;
    snapshot.networkOut = out;
    return snapshot;
}

} // namespace

TEST_F(AppModelTest, MonitoringSamplesAtOnceThenOncePerIntervalReadAfresh)
{
    services->snapshots = {sample(0, 50, 100, 30, 100, 0, 0), sample(0.5, 1, 0, 200, 100, 3'500'000, 10),
                           sample(1, 1, 4, 1, 0, 1, 1)};
    defaults.setValue("monitor.refreshInterval", 10);
    makeModel();

    model->startMonitoring();
    model->startMonitoring();
    waitFor([&] { return model->cpuSeries().size() == 1; });
    ASSERT_EQ(ticks.size(), 1);
    EXPECT_EQ(tickWaits.at(0), 10);
    EXPECT_EQ(model->networkScale(), 1'000'000);

    model->settings().setRefreshInterval(1);
    fireTick(0);
    waitFor([&] { return model->cpuSeries().size() == 2; });
    fireTick(1);
    waitFor([&] { return model->cpuSeries().size() == 3; });

    EXPECT_EQ(tickWaits, QList<double>({10, 1, 1}));
    EXPECT_EQ(model->cpuSeries(), QList<double>({0, 0.5, 1}));
    EXPECT_EQ(model->memorySeries(), QList<double>({0.5, 0, 0.25}));
    EXPECT_EQ(model->storageSeries(), QList<double>({0.7, 0, 0}));
    EXPECT_EQ(model->networkInSeries(), QList<double>({0, 3'500'000, 1}));
    EXPECT_EQ(model->snapshot(), services->snapshots.at(2));
    EXPECT_EQ(model->networkScale(), 3'500'000);
    EXPECT_EQ(services->samples, 3);
}

TEST_F(AppModelTest, TheIntervalIsNeverShorterThanHalfASecond)
{
    defaults.setValue("monitor.refreshInterval", 0);
    makeModel();
    model->settings().setRefreshInterval(0.1);

    model->startMonitoring();

    EXPECT_EQ(tickWaits, QList<double>({0.5}));
}

TEST_F(AppModelTest, ASlowSampleSkipsTicksAndNeverOverlaps)
{
    services->samplerGate = std::make_shared<Gate>();
    makeModel();

    model->startMonitoring();
    fireTick(0);
    fireTick(1);
    fireTick(2);
    services->samplerGate->open();
    waitFor([&] { return !model->cpuSeries().isEmpty(); });
    runner->waitForDone();
    QCoreApplication::sendPostedEvents();

    EXPECT_EQ(services->samples, 1);
    EXPECT_EQ(model->cpuSeries().size(), 1);
    EXPECT_EQ(ticks.size(), 4);
}

TEST_F(AppModelTest, SeriesKeepTheNewestNinetySamples)
{
    for (int i = 0; i < 91; ++i) {
        services->snapshots.append(sample(i / 100.0, 0, 0, 0, 0, 0, 0));
    }
    makeModel();

    model->startMonitoring();
    for (int i = 1; i <= 90; ++i) {
        waitFor([&] { return model->cpuSeries().size() == std::min(i, 90); });
        fireTick(i - 1);
    }
    waitFor([&] { return services->samples == 91 && model->cpuSeries().last() == 0.9; });

    EXPECT_EQ(model->cpuSeries().size(), 90);
    EXPECT_EQ(model->cpuSeries().first(), 0.01);
    EXPECT_EQ(model->storageSeries().size(), 90);
}

// Disk map ------------------------------------------------------------------

class AppModelDiskMapTest : public AppModelTest {
protected:
    // A build that reports each of the root's names, then waits at the gate
    // and returns a node per name measured before the stop.
    void SetUp() override
    {
        AppModel::Setup made = setup();
        made.engine.buildDiskTree = [this](const QString& root, const ModelEngine::TreeProgress& progress,
                                           const ModelEngine::CancelTest& isCancelled) {
            ++builds;
            DiskNode tree{QUuid::createUuid(), root, root, 0, true, {}};
            const QStringList names{"a", "b", "c", "d"};
            for (int i = 0; i < names.size() && !isCancelled(); ++i) {
                progress(i / 4.0, names[i]);
                if (i == 2) {
                    gate.pass(isCancelled);
                    if (isCancelled()) {
                        break;
                    }
                }
                tree.children.push_back({QUuid::createUuid(), root + "/" + names[i], names[i], 10, true, {}});
                tree.size += 10;
            }
            return tree;
        };
        made.engine.listDirectory = [this](const QString& folder, const ModelEngine::CancelTest&) {
            ++listings;
            listingGate.pass();
            return std::vector<DiskNode>{{QUuid::createUuid(), folder + "/x", "x", 5, false, {}}};
        };
        model = std::make_unique<AppModel>(defaults, std::move(made));
    }

    Gate gate;
    Gate listingGate;
    std::atomic<int> builds{0};
    std::atomic<int> listings{0};

    // The builds use the gates, so they end before the gates go.
    ~AppModelDiskMapTest() override
    {
        gate.open();
        listingGate.open();
        model.reset();
        runner->waitForDone();
        QCoreApplication::sendPostedEvents();
    }
};

TEST_F(AppModelDiskMapTest, ABuildPublishesItsProgressAndItsTree)
{
    model->buildDiskTree("/root");
    model->buildDiskTree("/other");
    EXPECT_TRUE(model->isBuildingTree());
    waitFor([&] { return model->treeProgress().name == "c"; });
    EXPECT_EQ(model->treeProgress().fraction, 0.5);
    gate.open();
    waitFor([&] { return !model->isBuildingTree(); });

    EXPECT_EQ(builds, 1);
    ASSERT_TRUE(model->diskTree());
    EXPECT_EQ(model->diskTree()->url, "/root");
    EXPECT_EQ(model->diskTree()->children.size(), 4u);
}

TEST_F(AppModelDiskMapTest, StopPublishesThePartialTreeAndAStaleBuildNeverWins)
{
    model->buildDiskTree("/first");
    waitFor([&] { return model->treeProgress().name == "c"; });
    model->cancelScan();
    EXPECT_FALSE(model->isBuildingTree());
    model->buildDiskTree("/second");
    gate.open();
    waitFor([&] { return !model->isBuildingTree(); });
    runner->waitForDone();
    QCoreApplication::sendPostedEvents();

    ASSERT_TRUE(model->diskTree());
    EXPECT_EQ(model->diskTree()->url, "/second");
}

TEST_F(AppModelDiskMapTest, AStoppedBuildStillPublishesWhatItMeasured)
{
    model->buildDiskTree("/root");
    waitFor([&] { return model->treeProgress().name == "c"; });
    model->cancelScan();
    gate.wake();
    waitFor([&] { return model->diskTree().has_value(); });

    EXPECT_EQ(model->diskTree()->children.size(), 2u);
    EXPECT_FALSE(model->isBuildingTree());
}

TEST_F(AppModelDiskMapTest, ADirectoryIsListedOnceOnDemand)
{
    const DiskNode folder{QUuid::createUuid(), "/root/a", "a", 10, true, {}};
    const DiskNode file{QUuid::createUuid(), "/root/f", "f", 10, false, {}};
    DiskNode parent = folder;
    parent.children = {file};

    EXPECT_FALSE(model->children(folder));
    model->expandChildren(file);
    model->expandChildren(parent);
    model->expandChildren(folder);
    model->expandChildren(folder);
    EXPECT_TRUE(model->expandingDirectories().contains("/root/a"));
    listingGate.open();
    waitFor([&] { return model->expandingDirectories().empty(); });
    model->expandChildren(folder);
    runner->waitForDone();

    EXPECT_EQ(listings, 1);
    ASSERT_TRUE(model->children(folder));
    EXPECT_EQ(model->children(folder)->at(0).name, "x");
    EXPECT_EQ(model->children(parent)->at(0).name, "f");

    gate.open();
    model->buildDiskTree("/root");
    EXPECT_TRUE(model->expandedChildren().empty());
}

// Teardown ------------------------------------------------------------------

TEST_F(AppModelTest, AModelReleasedWhileWorkRunsDropsTheResults)
{
    makeModel();
    script.hold(ScanCategory::trash);
    services->appGate = std::make_shared<Gate>();
    services->samplerGate = std::make_shared<Gate>();
    services->maintenanceGate = std::make_shared<Gate>();
    model->scan(ScanCategory::trash);
    model->startSmartScan();
    model->loadApps();
    model->startMonitoring();
    model->runMaintenance(task("purge"));
    script.waitStarted(ScanCategory::trash);

    model.reset();
    script.wakeAll();
    services->appGate->open();
    services->samplerGate->open();
    services->maintenanceGate->open();
    runner->waitForDone();
    QCoreApplication::sendPostedEvents();

    EXPECT_EQ(script.started(ScanCategory::trash), 1);
    EXPECT_EQ(services->appLoads, 1);
}
