#include "model/AppModelSetup.h"
#include "model/FakeServices.h"
#include "shared/MemoryDefaults.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

using namespace harborlite;
using harborlite::test::Gate;
using harborlite::test::runningProcess;
using harborlite::test::ScanScript;
using harborlite::test::SignalCount;
using harborlite::test::task;
using harborlite::test::waitFor;

namespace {

class AppModelTest : public ::testing::Test {
protected:
    MemoryDefaults defaults;
    ScanScript script;
    std::shared_ptr<test::FakeServices> services = std::make_shared<test::FakeServices>();
    std::shared_ptr<BackgroundRunner> runner = std::make_shared<BackgroundRunner>(8);
    std::unique_ptr<AppModel> model;
    // The disk map's builds wait here until it opens or they are stopped.
    std::shared_ptr<Gate> treeGate = std::make_shared<Gate>();

    ~AppModelTest() override
    {
        treeGate->open();
        script.releaseAll();
        services->openGates();
        model.reset();
        runner->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    AppModel::Setup setup()
    {
        AppModel::Setup setup;
        setup.engine = test::scriptedEngine(script, services);
        setup.engine.buildDiskTree = [gate = treeGate](const QString& root, const ModelEngine::TreeProgress&,
                                                       const ModelEngine::CancelTest& isCancelled) {
            gate->pass(isCancelled);
            return DiskNode{QUuid::createUuid(), root, root, 0, true, {}};
        };
        setup.updateConfiguration = QuorvaneConfiguration("harborlite", QUrl("http://127.0.0.1:9"));
        setup.bundleInformation = {};
        setup.systemVersion = {12, 0, 0};
        setup.runner = runner;
        setup.scheduleTick = [](QObject*, double, std::function<void()>) {};
        return setup;
    }

    AppModel& makeModel()
    {
        model = std::make_unique<AppModel>(defaults, setup());
        return *model;
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
    EXPECT_FALSE(fresh.isShredding());
    EXPECT_FALSE(fresh.isUninstalling());
    EXPECT_FALSE(fresh.banner());
    EXPECT_TRUE(defaults.writes().isEmpty());
}

TEST_F(AppModelTest, RestoresTheStoredRouteAndSavesTheSelectedOne)
{
    const std::vector<std::pair<QJsonValue, Route>> cases{
        {QJsonValue("ruvozEzaz"), Route::ruvozEzaz},
        {QJsonValue("RuvozEzaz"), Route::smartScan},
        {QJsonValue(""), Route::smartScan},
        {QJsonValue(3), Route::smartScan},
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

// The settings and the update checker announce their own changes; the model
// announces only its own values, so a view of the route is not refreshed by a
// refresh interval.
TEST_F(AppModelTest, TheSettingsAndTheUpdateCheckerAnnounceTheirChangesThemselves)
{
    makeModel();
    SignalCount willChange(model.get(), &AppModel::objectWillChange);
    SignalCount settingsChanged(&model->settings(), &MonitorSettings::didChange);
    SignalCount updatesChanged(&model->updates(), &UpdateChecker::didChange);

    model->settings().setRefreshInterval(5);
    model->updates().clearManualResult();
    EXPECT_EQ(settingsChanged.count(), 1);
    EXPECT_EQ(updatesChanged.count(), 1);
    EXPECT_EQ(willChange.count(), 0);
    model->setRoute(Route::maintenance);
    EXPECT_EQ(willChange.count(), 1);
}

// Stores ----------------------------------------------------------------------

// Each store value's change signal is the model's too, but a store's change is
// not announced as a change of the whole model.
TEST_F(AppModelTest, EveryStoreValueKeepsItsChangeSignalOnTheModel)
{
    makeModel();
    SignalCount willChange(model.get(), &AppModel::objectWillChange);
    SignalCount didChange(model.get(), &AppModel::didChange);
    SignalCount modeChanged(model.get(), &AppModel::cleanupModeChanged);
    SignalCount snapshotChanged(model.get(), &AppModel::snapshotChanged);
    SignalCount buildingChanged(model.get(), &AppModel::isBuildingTreeChanged);
    SignalCount accessChanged(model.get(), &AppModel::hasFullDiskAccessChanged);

    model->scanSession().setCleanupMode(Remover::Mode::shred);
    EXPECT_EQ(model->cleanupMode(), Remover::Mode::shred);
    EXPECT_EQ(modeChanged.count(), 1);

    model->monitorFeed().refreshSnapshot();
    waitFor([&] { return snapshotChanged.count() == 1; });
    EXPECT_EQ(model->cpuSeries().size(), 1);

    treeGate->open();
    model->diskMap().buildDiskTree("/root");
    waitFor([&] { return model->diskTree().has_value(); });
    EXPECT_EQ(buildingChanged.count(), 2);

    model->systemTools().refreshPermissions();
    waitFor([&] { return !model->hasFullDiskAccess(); });
    EXPECT_EQ(accessChanged.count(), 1);
    EXPECT_EQ(willChange.count(), 0);
    EXPECT_EQ(didChange.count(), 0);
}

// The tools' shred and uninstall runs are the model's busy values too.
TEST_F(AppModelTest, ShreddingAndUninstallingAreForwarded)
{
    AppModel::Setup made = setup();
    made.engine.uninstall = [](const UninstallPlan&, Remover::Mode) { return CleanupReport{}; };
    model = std::make_unique<AppModel>(defaults, std::move(made));
    SignalCount shredding(model.get(), &AppModel::isShreddingChanged);
    SignalCount uninstalling(model.get(), &AppModel::isUninstallingChanged);
    bool shredded = false;
    bool uninstalled = false;
    model->systemTools().shred({"/a"}, [&](const CleanupReport&) { shredded = true; });
    model->systemTools().uninstall(UninstallPlan{}, Remover::Mode::trash,
                                   [&](const CleanupReport&) { uninstalled = true; });
    EXPECT_TRUE(model->isShredding());
    EXPECT_TRUE(model->isUninstalling());
    waitFor([&] { return shredded && uninstalled; });
    EXPECT_FALSE(model->isShredding());
    EXPECT_FALSE(model->isUninstalling());
    EXPECT_EQ(shredding.count(), 2);
    EXPECT_EQ(uninstalling.count(), 2);
}

TEST_F(AppModelTest, SelectionAndExpansionReachTheModelWithWhatChanged)
{
    makeModel();
    model->scan(ScanCategory::trash);
    waitFor([&] { return model->result(ScanCategory::trash).has_value(); });
    const ScanGroup group = model->result(ScanCategory::trash)->groups.at(0);
    QList<QUuid> selected;
    QList<QUuid> expanded;
    QObject::connect(model.get(), &AppModel::selectionChanged,
                     [&](ScanCategory, const QUuid& id) { selected.append(id); });
    QObject::connect(model.get(), &AppModel::expansionChanged,
                     [&](ScanCategory, const QUuid& id) { expanded.append(id); });
    SignalCount resultsChanged(model.get(), &AppModel::resultsChanged);

    model->scanSession().toggleItem(group.items.at(0), ScanCategory::trash);
    model->toggleGroup(group, ScanCategory::trash);
    model->setExpanded(true, group, ScanCategory::trash);

    EXPECT_EQ(selected, (QList<QUuid>{group.items.at(0).id, group.id}));
    EXPECT_EQ(expanded, QList<QUuid>{group.id});
    EXPECT_EQ(resultsChanged.count(), 0);
}

TEST_F(AppModelTest, BannersTheStoresRaiseBecomeTheModelsBanner)
{
    makeModel();
    SignalCount bannerChanged(model.get(), &AppModel::bannerChanged);

    model->systemTools().quit(runningProcess(42, "helperd"), false);
    ASSERT_TRUE(model->banner());
    EXPECT_EQ(model->banner()->title, "Could not quit helperd");
    EXPECT_TRUE(model->banner()->isError);

    model->scan(ScanCategory::trash);
    waitFor([&] { return model->result(ScanCategory::trash).has_value(); });
    services->report = {1'000, 1, {}, 0.1};
    model->clean({ScanCategory::trash});
    waitFor([&] { return !model->isCleaning(); });

    ASSERT_TRUE(model->banner());
    EXPECT_EQ(model->banner()->title, "Cleanup complete");
    EXPECT_EQ(model->banner()->message, "1 KB reclaimed from 1 item(s).");
    EXPECT_FALSE(model->banner()->isError);
    EXPECT_EQ(bannerChanged.count(), 2);
}

TEST_F(AppModelTest, StopEndsTheScansAndTheDiskMapBuildAlike)
{
    makeModel();
    script.hold(ScanCategory::systemJunk);

    SignalCount treeChanged(model.get(), &AppModel::diskTreeChanged);
    SignalCount smartScanEnded(model.get(), &AppModel::lastSmartScanChanged);

    // From the model and from the scan session the screens hold.
    for (const auto& stop : std::vector<std::function<void()>>{[this] { model->cancelScan(); },
                                                               [this] { model->scanSession().cancelScan(); }}) {
        model->startSmartScan();
        model->buildDiskTree("/root");
        ASSERT_TRUE(model->isBuildingTree());

        stop();

        EXPECT_FALSE(model->isSmartScanning());
        EXPECT_TRUE(model->runningCategories().empty());
        EXPECT_FALSE(model->isBuildingTree());
        EXPECT_EQ(model->smartScanMessage(), "Scan cancelled");
        // The stopped scans still publish what they found; the stopped map
        // publishes nothing, so no partial tree replaces the map.
        script.wakeAll();
        treeGate->wake();
        runner->waitForDone();
        QCoreApplication::sendPostedEvents();
        EXPECT_FALSE(model->isBuildingTree());
    }
    EXPECT_EQ(treeChanged.count(), 0);
    EXPECT_FALSE(model->diskTree());
    EXPECT_EQ(smartScanEnded.count(), 2);
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
    model->buildDiskTree("/root");
    script.waitStarted(ScanCategory::trash);

    model.reset();
    script.wakeAll();
    treeGate->wake();
    services->appGate->open();
    services->samplerGate->open();
    services->maintenanceGate->open();
    runner->waitForDone();
    QCoreApplication::sendPostedEvents();

    EXPECT_EQ(script.started(ScanCategory::trash), 1);
    EXPECT_EQ(services->appLoads, 1);
}
