#include "engine/system/ProcessService.h"
#include "platform/KernelRoots.h"
#include "platform/UserId.h"
#include "support/FixtureTree.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace harborlite;
using harborlite::test::FixtureTree;

namespace {

QByteArray statLine(qint32 pid, const QByteArray& command, quint64 ticks, quint64 start, quint64 pages)
{
    // utime carries all the ticks; stime is 0.
    return QByteArray::number(pid) + " (" + command + ") S 1 1 1 0 -1 0 0 0 0 0 " + QByteArray::number(ticks)
        + " 0 0 0 20 0 1 0 " + QByteArray::number(start) + " 1000 " + QByteArray::number(pages) + " 0\n";
}

// A proc tree whose processes change during the pause between the readings.
class ProcessServiceTest : public ::testing::Test {
protected:
    void process(qint32 pid, const QByteArray& command, quint64 ticks, quint64 start = 1000, quint64 pages = 1)
    {
        const QString relative = QStringLiteral("proc/%1/stat").arg(pid);
        QFile::remove(tree.path(relative));
        tree.file(relative, statLine(pid, command, ticks, start, pages));
    }

    void gone(qint32 pid) { QDir(tree.path(QStringLiteral("proc/%1").arg(pid))).removeRecursively(); }

    // Two seconds pass during the pause, in which `change` happens.
    ProcessService service(std::function<void()> change, ProcessService::ApplicationList applications = {})
    {
        return ProcessService(std::move(applications), [change] {
            change();
            return 2.0;
        });
    }

    // Percent for ticks used in the two seconds.
    static double percent(quint64 ticks) { return double(ticks) / (2.0 * double(::sysconf(_SC_CLK_TCK))) * 100.0; }

    static QList<qint32> pids(const QList<RunningProcess>& processes)
    {
        QList<qint32> result;
        for (const RunningProcess& p : processes) {
            result << p.pid;
        }
        return result;
    }

    FixtureTree tree;
    platform::Seam<QString>::Override root{platform::procRoot(), tree.path("proc")};
};

} // namespace

TEST_F(ProcessServiceTest, RecentTicksBusiestFirstWithTiesInPidOrder)
{
    process(10, "steady", 1000);
    process(11, "busy", 50);
    process(12, "tie a", 7);
    process(13, "tie b", 7);
    process(14, "vanishing", 1);
    process(15, "recycled", 900, 1000);
    process(16, "backwards", 500);
    tree.file("proc/self/stat", statLine(99, "self", 1, 1, 1));
    tree.file("proc/stat", "cpu 1 2 3 4\n");
    tree.file("proc/17/stat", "garbage");

    const QList<RunningProcess> processes = service([&] {
                                                process(10, "steady", 1000 + 10);
                                                process(11, "busy", 50 + 520);
                                                process(12, "tie a", 7 + 10);
                                                process(13, "tie b", 7 + 10);
                                                gone(14);
                                                process(15, "recycled", 30, 5000);
                                                process(16, "backwards", 400);
                                                process(18, "newcomer", 40, 4000, 256);
                                            }).topProcesses(40);

    EXPECT_EQ(pids(processes), (QList<qint32>{11, 18, 15, 10, 12, 13, 16}));
    ASSERT_EQ(processes.size(), 7);
    EXPECT_DOUBLE_EQ(processes[0].cpu, percent(520));
    // More than one core's worth.
    EXPECT_GT(processes[0].cpu, 100.0);
    EXPECT_EQ(processes[0].name, QStringLiteral("busy"));
    EXPECT_DOUBLE_EQ(processes[1].cpu, percent(40));
    EXPECT_EQ(processes[1].memory, 256 * ::sysconf(_SC_PAGESIZE));
    EXPECT_EQ(processes[1].startTime, 4000u);
    EXPECT_DOUBLE_EQ(processes[2].cpu, percent(30));
    EXPECT_EQ(processes[4].name, QStringLiteral("tie a"));
    EXPECT_EQ(processes[6].cpu, 0.0);
    EXPECT_FALSE(processes[0].isApplication);
    EXPECT_EQ(processes[0].bundleID, std::nullopt);
}

TEST_F(ProcessServiceTest, LimitCutsTheList)
{
    process(2, "a", 1);
    process(3, "b", 2);
    const auto nothing = [] {};
    EXPECT_TRUE(service(nothing).topProcesses(0).isEmpty());
    EXPECT_TRUE(service(nothing).topProcesses(-1).isEmpty());
    EXPECT_EQ(service(nothing).topProcesses(1).size(), 1);
    EXPECT_EQ(service(nothing).topProcesses(100).size(), 2);
}

TEST_F(ProcessServiceTest, ApplicationsLendTheirNamesAndIdentifiers)
{
    process(20, "firefox-bin", 1);
    process(21, "helper", 1);
    process(22, "plain", 1);
    const auto applications = [](const QList<qint32>&) {
        return QList<ProcessService::Application>{
            {0, QStringLiteral("Kernel"), QStringLiteral("org.example.kernel")},
            {20, QStringLiteral("Firefox"), QStringLiteral("org.mozilla.firefox")},
            {20, QStringLiteral("Second"), QStringLiteral("org.example.second")},
            {21, std::nullopt, std::nullopt},
        };
    };
    const QList<RunningProcess> processes = service([] {}, applications).topProcesses(10);
    ASSERT_EQ(processes.size(), 3);
    EXPECT_EQ(processes[0].name, QStringLiteral("Firefox"));
    EXPECT_TRUE(processes[0].isApplication);
    EXPECT_EQ(processes[0].bundleID, QStringLiteral("org.mozilla.firefox"));
    EXPECT_EQ(processes[1].name, QStringLiteral("helper"));
    EXPECT_TRUE(processes[1].isApplication);
    EXPECT_EQ(processes[1].bundleID, std::nullopt);
    EXPECT_FALSE(processes[2].isApplication);
}

// Telling an application reads several files per process: a sample asks
// about the processes it keeps, never about every process there is.
TEST_F(ProcessServiceTest, OnlyTheKeptProcessesAreLookedUpAmongTheApplications)
{
    process(40, "idle", 5);
    process(41, "busiest", 5);
    process(42, "idle too", 5);
    process(43, "busy", 5);
    process(44, "editor", 5);
    QList<QList<qint32>> asked;
    const auto applications = [&asked](const QList<qint32>& pids) {
        asked.append(pids);
        return QList<ProcessService::Application>{{44, QStringLiteral("Editor"), QStringLiteral("editor")},
                                                  {40, QStringLiteral("Idle"), std::nullopt}};
    };
    const QList<RunningProcess> processes = service(
                                                [&] {
                                                    process(41, "busiest", 5 + 30);
                                                    process(43, "busy", 5 + 20);
                                                    process(44, "editor", 5 + 10);
                                                },
                                                applications)
                                                .topProcesses(3);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0], (QList<qint32>{41, 43, 44}));
    ASSERT_EQ(pids(processes), (QList<qint32>{41, 43, 44}));
    EXPECT_FALSE(processes[0].isApplication);
    EXPECT_EQ(processes[2].name, QStringLiteral("Editor"));
    EXPECT_TRUE(processes[2].isApplication);
}

TEST_F(ProcessServiceTest, NamesTheKernelCutShortAreTakenFromTheProgram)
{
    process(30, "harborlite-acce", 2);
    tree.symlink("proc/30/exe", "/usr/libexec/harborlite-accessibility");
    process(31, "harborlite-sett", 1);
    tree.symlink("proc/31/exe", "/usr/bin/harborlite-settings-daemon");
    const auto applications = [](const QList<qint32>&) {
        return QList<ProcessService::Application>{{31, QStringLiteral("Settings"), std::nullopt}};
    };
    const QList<RunningProcess> processes = service([] {}, applications).topProcesses(10);
    ASSERT_EQ(processes.size(), 2);
    EXPECT_EQ(processes[0].name, QStringLiteral("harborlite-accessibility"));
    EXPECT_EQ(processes[1].name, QStringLiteral("Settings"));
}

TEST_F(ProcessServiceTest, UnreadableProcRootGivesNothing)
{
    platform::Seam<QString>::Override missing(platform::procRoot(), tree.path("nowhere"));
    bool paused = false;
    EXPECT_TRUE(service([&] { paused = true; }).topProcesses(10).isEmpty());
    EXPECT_FALSE(paused);
}

TEST_F(ProcessServiceTest, QuitNamesTheProcessByPidAndStartTime)
{
    QList<platform::RunningInstance> terminated;
    QList<platform::RunningInstance> killed;
    platform::RunningApplications running;
    running.terminate = [&](const platform::RunningInstance& i) { terminated << i; };
    running.forceTerminate = [&](const platform::RunningInstance& i) { killed << i; };
    const ProcessService service(
        {}, [] { return 1.0; }, running);
    RunningProcess process;
    process.pid = 4242;
    process.startTime = 777;
    service.quit(process);
    service.forceQuit(process);
    EXPECT_EQ(terminated, (QList<platform::RunningInstance>{{4242, 777}}));
    EXPECT_EQ(killed, (QList<platform::RunningInstance>{{4242, 777}}));
}

TEST_F(ProcessServiceTest, OnlyTheUsersApplicationThatStillRunsMayBeAskedToQuit)
{
    const platform::Seam<uid_t>::Override user(platform::userId(), 1000);
    const auto status = [&](qint32 pid, uid_t owner) {
        QFile::remove(tree.path(QStringLiteral("proc/%1/status").arg(pid)));
        tree.file(QStringLiteral("proc/%1/status").arg(pid), "Uid:\t" + QByteArray::number(owner) + "\t0\t0\t0\n");
    };
    process(100, "app", 5, 777);
    status(100, 1000);
    process(1, "init", 5, 1);
    status(1, 1000);
    process(::getpid(), "self", 5, 9);
    status(::getpid(), 1000);
    process(101, "other", 5, 50);
    status(101, 0);
    tree.file("proc/102/stat", "102 (zombie) Z 1 1 1 0 -1 0 0 0 0 0 5 0 0 0 20 0 1 0 60 1000 1 0\n");
    status(102, 1000);

    const auto sampled = [](qint32 pid, quint64 start, bool application = true) {
        RunningProcess process;
        process.pid = pid;
        process.startTime = start;
        process.isApplication = application;
        return process;
    };
    const ProcessService service(ProcessService::ApplicationList{}, [] { return 1.0; });
    EXPECT_TRUE(service.mayQuit(sampled(100, 777)));
    EXPECT_FALSE(service.mayQuit(sampled(100, 777, false)));
    // Ended and its pid given to another process since it was sampled.
    EXPECT_FALSE(service.mayQuit(sampled(100, 776)));
    EXPECT_FALSE(service.mayQuit(sampled(100, 0)));
    EXPECT_FALSE(service.mayQuit(sampled(103, 777)));
    EXPECT_FALSE(service.mayQuit(sampled(1, 1)));
    EXPECT_FALSE(service.mayQuit(sampled(0, 1)));
    EXPECT_FALSE(service.mayQuit(sampled(-1, 1)));
    EXPECT_FALSE(service.mayQuit(sampled(::getpid(), 9)));
    EXPECT_FALSE(service.mayQuit(sampled(101, 50)));
    EXPECT_FALSE(service.mayQuit(sampled(102, 60)));
}

TEST(ProcessService, ListsAndQuitsARealProcess)
{
    // A process known to run its own program: a started one may still be
    // in exec, its new memory not yet touched. cat has run once it echoes.
    QProcess child;
    child.start(QStringLiteral("/bin/cat"), {});
    ASSERT_TRUE(child.waitForStarted());
    child.write("ready\n");
    ASSERT_TRUE(child.waitForReadyRead(10000));
    EXPECT_EQ(child.readAll(), QByteArray("ready\n"));
    const ProcessService service({}, [] { return 0.1; });
    const QList<RunningProcess> processes = service.topProcesses(100000);
    const auto found = std::find_if(processes.begin(), processes.end(),
                                    [&](const RunningProcess& p) { return p.pid == child.processId(); });
    ASSERT_NE(found, processes.end());
    EXPECT_EQ(found->name, QStringLiteral("cat"));
    EXPECT_GT(found->memory, 0);

    RunningProcess stale = *found;
    stale.startTime += 1;
    service.forceQuit(stale);
    EXPECT_FALSE(child.waitForFinished(200));

    service.quit(*found);
    EXPECT_TRUE(child.waitForFinished(5000));
}

TEST(ProcessService, ARealProcessWithALongNameShowsItWhole)
{
    // Started through a link, the kernel names it after the link, cut to 15
    // bytes; its program is cat, so the command line gives the name.
    FixtureTree tree;
    const QString program = tree.symlink("harborlite-long-program-name", QStringLiteral("/bin/cat"));
    QProcess child;
    child.start(program, {});
    ASSERT_TRUE(child.waitForStarted());
    child.write("ready\n");
    ASSERT_TRUE(child.waitForReadyRead(10000));
    const QList<RunningProcess> processes = ProcessService({}, [] { return 0.1; }).topProcesses(100000);
    const auto found = std::find_if(processes.begin(), processes.end(),
                                    [&](const RunningProcess& p) { return p.pid == child.processId(); });
    ASSERT_NE(found, processes.end());
    EXPECT_EQ(found->name, QStringLiteral("harborlite-long-program-name"));
    child.closeWriteChannel();
    EXPECT_TRUE(child.waitForFinished(10000));
}
