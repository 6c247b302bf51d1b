#include "platform/RunningApplications.h"
#include "support/FixtureTree.h"

#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace harborlite;
using harborlite::test::FixtureTree;

TEST(RunningApplications, FindsProcessesRunFromInsideTheBundleAndQuitsThem)
{
    FixtureTree tree;
    const QString bundle = tree.folder("Applications/Sleeper.app");
    const QString executable = tree.folder("Applications/Sleeper.app/Contents/MacOS") + "/sleeper";
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), executable));
    QProcess inside;
    inside.start(executable, {QStringLiteral("30")});
    ASSERT_TRUE(inside.waitForStarted());
    QProcess outside;
    outside.start(QStringLiteral("/bin/sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(outside.waitForStarted());

    const platform::RunningApplications apps = platform::runningApplications();
    const QList<platform::RunningInstance> found = apps.instances(QStringLiteral("any.id"), bundle);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found.first().pid, inside.processId());
    EXPECT_FALSE(apps.isTerminated(found.first()));

    // A stale start time names another process: it is left alone.
    apps.forceTerminate({found.first().pid, found.first().startTime + 1});
    EXPECT_FALSE(inside.waitForFinished(200));

    apps.terminate(found.first());
    EXPECT_TRUE(inside.waitForFinished(5000));
    EXPECT_TRUE(apps.isTerminated(found.first()));
    EXPECT_EQ(outside.state(), QProcess::Running);
    outside.kill();
    outside.waitForFinished();

    EXPECT_TRUE(apps.instances(QStringLiteral("any.id"), tree.path("missing.app")).isEmpty());
}

TEST(RunningApplications, NeverSignalsItself)
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    ASSERT_TRUE(stat.open(QIODevice::ReadOnly));
    const QByteArray text = stat.readAll();
    const quint64 start = text.mid(text.lastIndexOf(')') + 2).split(' ').at(19).toULongLong();
    // Were the own-pid check missing, SIGKILL would end this test here.
    platform::runningApplications().forceTerminate({::getpid(), start});
    SUCCEED();
}
