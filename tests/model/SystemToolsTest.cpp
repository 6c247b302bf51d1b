#include "model/SystemTools.h"
#include "model/FakeServices.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

using namespace harborlite;
using harborlite::test::agentItem;
using harborlite::test::Gate;
using harborlite::test::runningProcess;
using harborlite::test::ScanScript;
using harborlite::test::SignalCount;
using harborlite::test::task;
using harborlite::test::waitFor;

namespace {

class SystemToolsTest : public ::testing::Test {
protected:
    ScanScript script;
    std::shared_ptr<test::FakeServices> services = std::make_shared<test::FakeServices>();
    std::shared_ptr<BackgroundRunner> runner = std::make_shared<BackgroundRunner>(8);
    std::unique_ptr<SystemTools> tools;

    ~SystemToolsTest() override
    {
        services->openGates();
        tools.reset();
        runner->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    SystemTools& makeTools()
    {
        tools = std::make_unique<SystemTools>(test::scriptedEngine(script, services).systemTools(), runner);
        return *tools;
    }
};

} // namespace

TEST_F(SystemToolsTest, FreshToolsHoldTheInitialValues)
{
    const SystemTools& fresh = makeTools();

    EXPECT_TRUE(fresh.apps().isEmpty());
    EXPECT_FALSE(fresh.isLoadingApps());
    EXPECT_TRUE(fresh.startupItems().isEmpty());
    EXPECT_TRUE(fresh.processes().isEmpty());
    EXPECT_FALSE(fresh.localSnapshots());
    EXPECT_FALSE(fresh.storage());
    EXPECT_TRUE(fresh.hasFullDiskAccess());
    EXPECT_TRUE(fresh.maintenanceLog().isEmpty());
    EXPECT_FALSE(fresh.runningMaintenance());
}

TEST_F(SystemToolsTest, LoadingApplicationsTwiceLoadsOnce)
{
    makeTools();
    services->apps = {{"org.example.editor",
                       "Editor",
                       "/Applications/Editor.app",
                       "1.0",
                       10,
                       {},
                       false,
                       true,
                       InstalledApp::Kind::bundle,
                       {}}};
    services->appGate = std::make_shared<Gate>();

    tools->loadApps();
    tools->loadApps();
    EXPECT_TRUE(tools->isLoadingApps());
    services->appGate->open();
    waitFor([&] { return !tools->isLoadingApps(); });

    EXPECT_EQ(services->appLoads, 1);
    ASSERT_EQ(tools->apps().size(), 1);
    EXPECT_EQ(tools->apps().at(0).name, "Editor");
}

TEST_F(SystemToolsTest, ReadsPublishTheirServicesAnswers)
{
    makeTools();
    SignalCount storageChanged(tools.get(), &SystemTools::storageChanged);

    tools->refreshProcesses();
    tools->refreshStorageBreakdown();
    tools->refreshLocalSnapshots();
    tools->refreshPermissions();
    tools->loadStartupItems();
    waitFor([&] {
        return !tools->processes().isEmpty() && tools->storage() && tools->localSnapshots()
            && !tools->hasFullDiskAccess() && !tools->startupItems().isEmpty();
    });

    EXPECT_EQ(services->processLimit, 40);
    EXPECT_EQ(tools->storage()->free, 40);
    EXPECT_EQ(*tools->localSnapshots(), (LocalSnapshots{2, 5}));
    EXPECT_EQ(storageChanged.count(), 1);
}

TEST_F(SystemToolsTest, MaintenanceLogsOutcomesNewestFirstAndForgetsACancelledPrompt)
{
    makeTools();
    const MaintenanceTask flush = task("flushDNS", "Flush DNS");
    const MaintenanceTask purge = task("purge", "Free memory");
    auto runAndWait = [&](const MaintenanceTask& task) {
        tools->runMaintenance(task);
        EXPECT_EQ(tools->runningMaintenance(), task.id);
        waitFor([&] { return !tools->runningMaintenance(); });
    };

    runAndWait(flush);
    runAndWait(flush);
    services->maintenance = [](const MaintenanceTask&) -> QString { throw ShellRunner::RunError::cancelled(); };
    runAndWait(purge);
    services->maintenance = [](const MaintenanceTask&) -> QString {
        throw ShellRunner::RunError::toolMissing("/usr/sbin/purge");
    };
    runAndWait(purge);

    const QList<SystemTools::MaintenanceLogEntry>& log = tools->maintenanceLog();
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[0].id, "purge");
    EXPECT_EQ(log[0].message, "This version of macOS does not include /usr/sbin/purge.");
    EXPECT_TRUE(log[0].isError);
    EXPECT_EQ(log[1].id, "flushDNS");
    EXPECT_EQ(log[1].message, "flushDNS done");
    EXPECT_FALSE(log[1].isError);
    EXPECT_EQ(log[2].id, "flushDNS");
}

TEST_F(SystemToolsTest, ASecondMaintenanceTaskWhileOneRunsIsDropped)
{
    makeTools();
    services->maintenanceGate = std::make_shared<Gate>();

    tools->runMaintenance(task("first"));
    tools->runMaintenance(task("second"));
    EXPECT_EQ(tools->runningMaintenance(), "first");
    services->maintenanceGate->open();
    waitFor([&] { return !tools->runningMaintenance(); });

    ASSERT_EQ(tools->maintenanceLog().size(), 1);
    EXPECT_EQ(tools->maintenanceLog().at(0).id, "first");
}

TEST_F(SystemToolsTest, AFailedSwitchShowsTheErrorAndEverySwitchReloadsTheItems)
{
    makeTools();
    const StartupItem item = agentItem();

    const test::BannerLog<SystemTools> banners(tools.get());

    tools->setStartupItem(item, false);
    waitFor([&] { return services->startupLoads == 1 && !tools->startupItems().isEmpty(); });
    EXPECT_TRUE(banners.banners().isEmpty());

    services->switchItem = [](bool, const StartupItem&) {
        throw ShellRunner::RunError::authorizationFailed("Not allowed");
    };
    tools->setStartupItem(item, true);
    waitFor([&] { return !banners.banners().isEmpty(); });
    EXPECT_EQ(banners.banners().at(0).title, "Could not change startup item");
    EXPECT_EQ(banners.banners().at(0).message, "Administrator authorisation failed: Not allowed");
    EXPECT_TRUE(banners.banners().at(0).isError);
    waitFor([&] { return services->startupLoads == 2; });
}

TEST_F(SystemToolsTest, QuittingAsksTheServiceAndRefreshesTheProcesses)
{
    makeTools();
    const RunningProcess process = runningProcess(42, "helperd");
    const test::BannerLog<SystemTools> banners(tools.get());

    services->quitAnswer = true;
    tools->quit(process, true);
    EXPECT_TRUE(banners.banners().isEmpty());
    services->quitAnswer = false;
    tools->quit(process, false);

    EXPECT_EQ(services->quitForces, QList<bool>({true, false}));
    ASSERT_EQ(banners.banners().size(), 1);
    EXPECT_EQ(banners.banners().at(0).title, "Could not quit helperd");
    EXPECT_EQ(banners.banners().at(0).message,
              "The process did not respond. Try Force Quit, or it may be a system process.");
    EXPECT_TRUE(banners.banners().at(0).isError);
    waitFor([&] { return services->processLoads == 2 && !tools->processes().isEmpty(); });
}

// Shredding and uninstalling are the tools' runs: a second request while one
// runs is refused and never reported, and the busy value clears before the
// report is handed on.
TEST_F(SystemToolsTest, ASecondShredOrUninstallWhileOneRunsIsRefused)
{
    ModelEngine engine = test::scriptedEngine(script, services);
    const auto uninstallGate = std::make_shared<Gate>();
    engine.uninstall = [uninstallGate](const UninstallPlan&, Remover::Mode) {
        uninstallGate->pass();
        return CleanupReport{};
    };
    tools = std::make_unique<SystemTools>(engine.systemTools(), runner);
    services->removeGate = std::make_shared<Gate>();
    SignalCount shredding(tools.get(), &SystemTools::isShreddingChanged);
    SignalCount uninstalling(tools.get(), &SystemTools::isUninstallingChanged);
    int shredsDone = 0;
    int uninstallsDone = 0;
    bool busyAtReport = true;

    EXPECT_TRUE(tools->shred({"/a"}, [&](const CleanupReport&) {
        ++shredsDone;
        busyAtReport = tools->isShredding();
    }));
    EXPECT_FALSE(tools->shred({"/b"}, [&](const CleanupReport&) { ++shredsDone; }));
    EXPECT_TRUE(tools->isShredding());
    const UninstallPlan plan;
    EXPECT_TRUE(tools->uninstall(plan, Remover::Mode::trash, [&](const CleanupReport&) { ++uninstallsDone; }));
    EXPECT_FALSE(tools->uninstall(plan, Remover::Mode::trash, [&](const CleanupReport&) { ++uninstallsDone; }));
    EXPECT_TRUE(tools->isUninstalling());

    services->removeGate->open();
    uninstallGate->open();
    waitFor([&] { return shredsDone == 1 && uninstallsDone == 1; });
    runner->waitForDone();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(shredsDone, 1);
    EXPECT_EQ(uninstallsDone, 1);
    EXPECT_FALSE(busyAtReport);
    EXPECT_FALSE(tools->isShredding());
    EXPECT_FALSE(tools->isUninstalling());
    EXPECT_EQ(shredding.count(), 2);
    EXPECT_EQ(uninstalling.count(), 2);
    EXPECT_EQ(services->removedLocations, QStringList{"/a"});
}
