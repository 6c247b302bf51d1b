#include "engine/system/MaintenanceService.h"
#include "engine/commands/ShellRunner.h"
#include "platform/HomeFolder.h"
#include "platform/UserId.h"
#include "platform/XdgDataHome.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"
#include "support/EventWait.h"
#include "support/FakeTool.h"
#include "support/FixtureTree.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using RunError = ShellRunner::RunError;

namespace {

// Fake tools for everything but sync and sqlite3, and an administrator prompt
// that logs each command line, prints "pkexec.out" and exits with the status in
// "pkexec.status" (0 when missing).
class MaintenanceServiceTest : public ::testing::Test {
protected:
    MaintenanceServiceTest()
    {
        tools.pkexec = test::writeFakeTool(tree.root(), "pkexec",
                                           "printf '%s\\n' \"$7\" >> \"$0.log\"\n"
                                           "cat \"$0.out\" 2>/dev/null\n"
                                           "exit \"$(cat \"$0.status\" 2>/dev/null || echo 0)\"\n");
        tools.resolvectl = test::writeFakeTool(tree.root(), "resolvectl", "exit 0");
        tools.mdutil = test::writeFakeTool(tree.root(), "mdutil", "exit 0");
        tools.tmutil = test::writeFakeTool(tree.root(), "tmutil", "exit 0");
        tools.diskutil = test::writeFakeTool(tree.root(), "diskutil", "cat \"$0.out\" 2>/dev/null; exit 1");
        tools.updateDesktopDatabase =
            test::writeFakeTool(tree.root(), "update-desktop-database",
                                "cat \"$0.err\" >&2 2>/dev/null; exit \"$(cat \"$0.status\" 2>/dev/null || echo 0)\"");
    }

    MaintenanceTask task(const QString& id) const
    {
        for (const MaintenanceTask& t : MaintenanceService(tools).tasks()) {
            if (t.id == id) {
                return t;
            }
        }
        ADD_FAILURE() << id.toStdString();
        return {};
    }

    QString run(const QString& id) const { return MaintenanceService(tools).run(task(id)).message; }

    QStringList administratorCommands() const
    {
        QFile log(tools.pkexec + ".log");
        if (!log.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    FixtureTree tree;
    platform::ToolTable tools;
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    platform::Seam<QString>::Override data{platform::xdgDataHome(), tree.path("home/.local/share")};
    platform::Seam<uid_t>::Override uid{platform::userId(), 501};
};

} // namespace

TEST_F(MaintenanceServiceTest, EightTasksInOrderWithTheirTexts)
{
    const QList<MaintenanceTask> tasks = MaintenanceService().tasks();
    QStringList ids;
    for (const MaintenanceTask& t : tasks) {
        ids << t.id;
    }
    EXPECT_EQ(ids,
              (QStringList{"freeRAM", "flushDNS", "rebuildSpotlight", "rebuildLaunchServices", "repairPermissions",
                           "speedUpMail", "thinSnapshots", "verifyDisk"}));
    EXPECT_EQ(tasks[0],
              (MaintenanceTask{"freeRAM", "Free Up Purgeable Memory",
                               "Asks the kernel to release inactive pages and compressed memory.", "memorychip", true,
                               "About 20 seconds", "/bin/sync"}));
    EXPECT_EQ(tasks[3].requiredTool, "/usr/bin/update-desktop-database");
    EXPECT_FALSE(tasks[3].needsAdministrator);
    EXPECT_EQ(tasks[6],
              (MaintenanceTask{"thinSnapshots", "Thin Time Machine Snapshots",
                               "Removes local APFS snapshots that are holding on to disk space.",
                               "clock.arrow.2.circlepath", true, "Under a minute", "/usr/bin/tmutil"}));
    EXPECT_EQ(tasks[7].detail, "Runs a read-only filesystem check and reports any damage.");
    EXPECT_EQ(tasks[7].estimate, "One to three minutes");
}

TEST_F(MaintenanceServiceTest, AdministratorTasksRunTheirCommandLines)
{
    struct Row {
        QString id;
        QByteArray output;
        QString commandLine;
        QString sentence;
    };
    const Row rows[] = {
        {"freeRAM", "", "/bin/sync && echo 3 > /proc/sys/vm/drop_caches", "Inactive memory released."},
        {"flushDNS", "", tools.resolvectl + " flush-caches", "DNS cache flushed."},
        {"rebuildSpotlight", "", tools.mdutil + " -E / ", "Spotlight is rebuilding its index in the background."},
        {"repairPermissions", "", tools.diskutil + " resetUserPermissions / 501", "Home folder permissions reset."},
        {"thinSnapshots", "Deleting...\nDeleted local snapshot 'a'\n\nDeleted local snapshot 'b'\nDeleted 'c'\n",
         tools.tmutil + " deletelocalsnapshots /", "Removed 3 local snapshot(s)."},
        {"thinSnapshots", "", tools.tmutil + " deletelocalsnapshots /", "No local snapshots needed removing."},
    };
    for (const Row& row : rows) {
        QFile::remove(tools.pkexec + ".log");
        tree.file("pkexec.out", row.output);
        EXPECT_EQ(run(row.id), row.sentence) << row.id.toStdString();
        EXPECT_EQ(administratorCommands(), QStringList{row.commandLine}) << row.id.toStdString();
    }
}

TEST_F(MaintenanceServiceTest, RunnerErrorsPassThroughUnchanged)
{
    tree.file("pkexec.status", "126");
    try {
        run("flushDNS");
        ADD_FAILURE() << "no error";
    } catch (const RunError& error) {
        EXPECT_EQ(error, RunError::cancelled());
    }
}

TEST_F(MaintenanceServiceTest, MissingToolIsRefusedBeforeAnythingRuns)
{
    platform::ToolTable absent = tools;
    absent.tmutil = tree.path("no/tmutil");
    const MaintenanceService service(absent);
    const MaintenanceTask thin = service.tasks()[6];
    EXPECT_FALSE(MaintenanceService::isAvailable(thin));
    try {
        service.run(thin);
        ADD_FAILURE() << "no error";
    } catch (const RunError& error) {
        EXPECT_EQ(error, RunError::toolMissing(absent.tmutil));
        EXPECT_EQ(error.errorDescription(), "This version of macOS does not include " + absent.tmutil + ".");
    }
    EXPECT_TRUE(administratorCommands().isEmpty());
    EXPECT_EQ(MaintenanceService::missingToolReason(thin), "Needs " + absent.tmutil + ", which is not installed here.");
}

TEST_F(MaintenanceServiceTest, UnknownIdentifierIsRefusedCaseSensitively)
{
    MaintenanceTask odd = task("freeRAM");
    odd.id = "freeram";
    try {
        MaintenanceService(tools).run(odd);
        ADD_FAILURE() << "no error";
    } catch (const RunError& error) {
        EXPECT_EQ(error.errorDescription(), "Could not start the task: Unknown task freeram.");
    }
    EXPECT_TRUE(administratorCommands().isEmpty());
}

TEST_F(MaintenanceServiceTest, DesktopDatabaseIsRebuiltInTheUsersApplicationsFolder)
{
    EXPECT_EQ(run("rebuildLaunchServices"), "Launch Services database rebuilt.");
    EXPECT_EQ(test::recordedArguments(tools.updateDesktopDatabase),
              QStringList{tree.path("home/.local/share/applications")});

    tree.file("update-desktop-database.status", "1");
    tree.file("update-desktop-database.err", "cannot write cache");
    try {
        run("rebuildLaunchServices");
        ADD_FAILURE() << "no error";
    } catch (const RunError& error) {
        EXPECT_EQ(error, RunError::launchFailed("cannot write cache"));
    }
}

TEST_F(MaintenanceServiceTest, AToolThatHangsIsStoppedAtItsLimitAndTheTaskFails)
{
    tools.updateDesktopDatabase = test::writeFakeTool(tree.root(), "update-desktop-database", "exec sleep 600");
    MaintenanceService::Limits limits;
    limits.launchServices = 0.5;
    const MaintenanceService service(tools, limits);
    try {
        service.run(task("rebuildLaunchServices"));
        ADD_FAILURE() << "no error";
    } catch (const RunError& error) {
        EXPECT_EQ(error.kind(), RunError::Kind::launchFailed);
    }
}

TEST_F(MaintenanceServiceTest, VerifyReportsTheLastLineWhateverTheStatus)
{
    tree.file("diskutil.out", "Started file system verification\n  The volume appears to be OK.\t \n\n");
    EXPECT_EQ(run("verifyDisk"), "The volume appears to be OK.");
    EXPECT_EQ(test::recordedArguments(tools.diskutil), (QStringList{"verifyVolume", "/"}));
    tree.file("diskutil.out", "");
    EXPECT_EQ(run("verifyDisk"), "Verification finished.");
}

TEST_F(MaintenanceServiceTest, MailDatabasesAreCompactedWithTheRealTool)
{
    // No database is nothing to do, not a change made.
    const MaintenanceResult nothing{QStringLiteral("No Mail database found to compact."), true};
    EXPECT_EQ(MaintenanceService(tools).run(task("speedUpMail")), nothing);
    tree.folder("home/Library/Mail/V2/MailData");
    tree.folder("home/Library/Mail/MailData");
    EXPECT_EQ(MaintenanceService(tools).run(task("speedUpMail")), nothing);

    // One database with deleted rows to give back, one file that is no database,
    // and a hidden version folder that is not looked at.
    const QString database = tree.path("home/Library/Mail/V10/MailData/Envelope Index");
    tree.folder("home/Library/Mail/V10/MailData");
    QProcess sqlite;
    sqlite.start("/usr/bin/sqlite3",
                 {database,
                  "create table m(x); with recursive n(i) as (select 1 union all select i + 1 from n "
                  "where i < 20000) insert into m select randomblob(100) from n; delete from m;"});
    ASSERT_TRUE(sqlite.waitForFinished(test::kWaitLimitMilliseconds));
    ASSERT_EQ(sqlite.exitCode(), 0);
    tree.file("home/Library/Mail/V9/MailData/Envelope Index",
              QByteArray("not a database at all, just text", 32) + QByteArray(4096, 'x'));
    tree.file("home/Library/Mail/.V8/MailData/Envelope Index", "");

    const qint64 before = FS::allocatedSize(database);
    const QString sentence = run("speedUpMail");
    const qint64 after = FS::allocatedSize(database);
    ASSERT_LT(after, before);
    EXPECT_EQ(sentence, "Compacted 1 Mail database(s), reclaiming " + Format::bytes(before - after) + ".");

    // Nothing left to give back, yet the database was compacted.
    EXPECT_EQ(MaintenanceService(tools).run(task("speedUpMail")),
              MaintenanceResult(QStringLiteral("Compacted 1 Mail database(s), reclaiming 0 KB.")));
}
