#include "engine/removal/Uninstaller.h"
#include "platform/HomeFolder.h"
#include "platform/RunningApplications.h"
#include "platform/ToolTable.h"
#include "shared/FileSystem.h"
#include "support/FakeReceiptTool.h"
#include "support/FakeTool.h"
#include "support/FixtureTree.h"
#include "support/PlistFixtures.h"
#include "support/QtPrinters.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using namespace std::chrono_literals;

namespace {

// A machine with a home, an application folder, a receipt tool answering from
// files, and an administrator prompt that logs each command line it is given
// and answers with the status in the file "pkexec.status" (0 when missing).
class UninstallerTest : public ::testing::Test {
protected:
    UninstallerTest()
    {
        table = receipts.table();
        table.pkexec = test::writeFakeTool(tree.root(), QStringLiteral("pkexec"),
                                           "printf '%s\\n' \"$7\" >> \"$0.log\"\n"
                                           "status=$(cat \"$0.status\" 2>/dev/null || echo 0)\n"
                                           "exit \"$status\"\n");
    }

    static platform::RunningApplications noApplicationsRunning()
    {
        return {[](const QString&, const QString&, const std::optional<platform::FileIdentity>&) {
                    return QList<platform::RunningInstance>();
                },
                [](const platform::RunningInstance&) {}, [](const platform::RunningInstance&) {},
                [](const platform::RunningInstance&) { return true; }};
    }

    void package(const QString& id, const QString& files)
    {
        receipts.package(id, "volume: " + tree.root().toUtf8() + "\nlocation: \ninstall-time: 1600000000\n",
                         files.toUtf8());
    }

    QStringList administratorCommands() const
    {
        QFile log(table.pkexec + QStringLiteral(".log"));
        if (!log.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    void prompt(int status) { tree.file("pkexec.status", QByteArray::number(status)); }

    InstalledApp fooApp()
    {
        InstalledApp app;
        app.bundleID = QStringLiteral("com.example.foo");
        app.name = QStringLiteral("Foo");
        app.url = tree.path("Applications/Foo.app");
        app.size = 123456;
        return app;
    }

    Uninstaller uninstaller(Uninstaller::RemoveFn remove = {}, std::chrono::milliseconds gracePeriod = 50ms)
    {
        return Uninstaller(AppCatalog({tree.path("Applications")}, tree.path("SharedLibrary")), gracePeriod,
                           std::move(remove), table, running);
    }

    FixtureTree tree;
    test::FakeReceiptTool receipts;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::ToolTable table;
    platform::RunningApplications running = noApplicationsRunning();
};

QStringList urls(const QList<ScanItem>& items)
{
    QStringList result;
    for (const ScanItem& item : items) {
        result << item.url;
    }
    return result;
}

} // namespace

TEST_F(UninstallerTest, PlanListsLeftoversResidueAndReceipts)
{
    test::writeBundle(tree.path("Applications/Foo.app"), {{"CFBundleIdentifier", "com.example.foo"}});
    const QString caches = tree.file("home/Library/Caches/com.example.foo/big", 90000);
    const QString prefs = tree.file("home/Library/Preferences/com.example.foo.plist", 100);
    const QString logs = tree.file("home/Library/Logs/Foo/log.txt", 100);
    tree.file("opt/foo/bin/foo", 40000);
    package("com.example.foo", "Applications/Foo.app\nopt/foo\n");

    const UninstallPlan plan = uninstaller().plan(fooApp());
    EXPECT_EQ(urls(plan.leftovers), (QStringList{FS::parentPath(caches), prefs, FS::parentPath(logs)}));
    for (const ScanItem& item : plan.leftovers) {
        EXPECT_TRUE(item.isSelected);
        EXPECT_FALSE(item.requiresReview);
        EXPECT_EQ(item.size, FS::size(item.url, {.descendIntoPackages = true}));
    }
    EXPECT_EQ(plan.leftovers.at(1).origin, QStringLiteral("~/Library/Preferences"));
    ASSERT_EQ(urls(plan.installedResidue), QStringList{tree.path("opt/foo")});
    const ScanItem& residue = plan.installedResidue.first();
    EXPECT_FALSE(residue.isSelected);
    EXPECT_TRUE(residue.requiresReview);
    EXPECT_TRUE(residue.detail->endsWith(QStringLiteral(" by com.example.foo")));
    ASSERT_EQ(plan.receipts.size(), 1);
}

TEST_F(UninstallerTest, UninstallRemovesSelectedItemsThenTheBundleAndForgetsOwnReceipts)
{
    test::writeBundle(tree.path("Applications/Foo.app"), {{"CFBundleIdentifier", "com.example.foo"}});
    tree.file("home/Library/Caches/com.example.foo/big", 90000);
    tree.file("home/Library/Preferences/com.example.foo.plist", 100);
    tree.file("opt/foo/bin/foo", 40000);
    tree.file("opt/bar/bin/bar", 40000);
    package("com.example.foo", "Applications/Foo.app\nopt/foo\n");
    // Same vendor, another product still installed: its receipt must stay.
    package("com.example.bar", "opt/bar\n");
    package("com.apple.pkg.thing", "opt/thing\n");

    UninstallPlan plan = uninstaller().plan(fooApp());
    ASSERT_EQ(plan.receipts.size(), 2);
    plan.leftovers[1].isSelected = false;
    QStringList removed;
    const CleanupReport report = uninstaller([&](const QStringList& locations, Remover::Mode mode) {
                                     removed = locations;
                                     EXPECT_EQ(mode, Remover::Mode::trash);
                                     return Remover(Remover::Mode::permanent).remove(locations, false);
                                 }).uninstall(plan, Remover::Mode::trash);

    EXPECT_EQ(removed, (QStringList{plan.leftovers.at(0).url, plan.app.url}));
    EXPECT_TRUE(report.failures.isEmpty());
    EXPECT_EQ(report.removed, 2);
    EXPECT_FALSE(FS::exists(plan.app.url));
    EXPECT_TRUE(FS::exists(plan.leftovers.at(1).url));
    EXPECT_EQ(administratorCommands(), QStringList{table.pkgutil + " --forget com.example.foo"});
}

TEST_F(UninstallerTest, PermissionFailureOfTheBundleIsRetriedAsAdministrator)
{
    UninstallPlan plan;
    plan.app = fooApp();
    plan.app.url = tree.path("Applications/My \"Foo\" $(rm -rf ~).app");
    plan.receipts = {PackageReceipt{"com.example.foo", {}, std::nullopt, {plan.app.url}}};
    const auto permissionDenied = [&](const QStringList& locations, Remover::Mode) {
        CleanupReport report;
        report.failures.append({locations.last(), QStringLiteral("Operation not permitted: PERMISSION denied")});
        return report;
    };

    prompt(126);
    const CleanupReport cancelled = uninstaller(permissionDenied).uninstall(plan, Remover::Mode::trash);
    EXPECT_EQ(cancelled.failures.size(), 1);
    EXPECT_EQ(cancelled.removed, 0);
    const QString rm = table.rm + " -rf \"" + tree.path("Applications/My \\\"Foo\\\" \\$(rm -rf ~).app") + "\"";
    EXPECT_EQ(administratorCommands(), QStringList{rm});

    prompt(0);
    const CleanupReport retried = uninstaller(permissionDenied).uninstall(plan, Remover::Mode::trash);
    EXPECT_TRUE(retried.failures.isEmpty());
    EXPECT_EQ(retried.removed, 1);
    EXPECT_EQ(retried.reclaimed, 123456);
    EXPECT_EQ(administratorCommands(), (QStringList{rm, rm, table.pkgutil + " --forget com.example.foo"}));
}

TEST_F(UninstallerTest, OtherFailuresBlockForgettingWithoutRetry)
{
    UninstallPlan plan;
    plan.app = fooApp();
    plan.receipts = {PackageReceipt{"com.example.foo", {}, std::nullopt, {plan.app.url}}};
    ScanItem locked;
    locked.url = tree.path("home/Library/Caches/locked");
    plan.leftovers = {locked};
    const CleanupReport report = uninstaller([&](const QStringList& locations, Remover::Mode) {
                                     CleanupReport r;
                                     r.removed = 1;
                                     r.failures.append({locations.first(), QStringLiteral("Device or resource busy")});
                                     return r;
                                 }).uninstall(plan, Remover::Mode::permanent);
    EXPECT_EQ(report.failures.size(), 1);
    EXPECT_TRUE(administratorCommands().isEmpty());
}

TEST_F(UninstallerTest, RunningInstancesAreAskedToQuitThenForced)
{
    struct Log {
        QStringList events;
    } log;
    const platform::RunningInstance stubborn{100, 1};
    const platform::RunningInstance polite{101, 1};
    platform::RunningApplications apps{
        [&](const QString& id, const QString& path, const std::optional<platform::FileIdentity>&) {
            log.events << "list " + id + " " + FS::lastPathComponent(path);
            return QList<platform::RunningInstance>{stubborn, polite};
        },
        [&](const platform::RunningInstance& i) { log.events << QStringLiteral("term %1").arg(i.pid); },
        [&](const platform::RunningInstance& i) { log.events << QStringLiteral("kill %1").arg(i.pid); },
        [&](const platform::RunningInstance& i) { return i.pid == polite.pid; },
    };
    running = apps;
    UninstallPlan plan;
    plan.app = fooApp();
    uninstaller([&](const QStringList&, Remover::Mode) {
        log.events << QStringLiteral("remove");
        return CleanupReport();
    }).uninstall(plan, Remover::Mode::trash);
    EXPECT_EQ(log.events, (QStringList{"list com.example.foo Foo.app", "term 100", "term 101", "kill 100", "remove"}));
}

TEST_F(UninstallerTest, InstancesThatQuitAtOnceAreNotWaitedFor)
{
    bool asked = false;
    running = {[](const QString&, const QString&, const std::optional<platform::FileIdentity>&) {
                   return QList<platform::RunningInstance>{{100, 1}};
               },
               [&](const platform::RunningInstance&) { asked = true; },
               [](const platform::RunningInstance&) { ADD_FAILURE() << "forced an instance that had quit"; },
               [&](const platform::RunningInstance&) { return asked; }};
    UninstallPlan plan;
    plan.app = fooApp();
    // With the whole grace period slept through, this would outlast the test's time limit.
    uninstaller([](const QStringList&, Remover::Mode) { return CleanupReport(); }, std::chrono::hours(1))
        .uninstall(plan, Remover::Mode::trash);
    EXPECT_TRUE(asked);
}
