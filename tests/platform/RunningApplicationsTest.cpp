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
    const QList<platform::RunningInstance> found = apps.instances(QStringLiteral("any.id"), bundle, std::nullopt);
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

    EXPECT_TRUE(apps.instances(QStringLiteral("any.id"), tree.path("missing.app"), std::nullopt).isEmpty());
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

TEST(RunningApplications, AnAppImageIsMatchedByItsFileNeverByWhatNowBearsItsName)
{
    FixtureTree tree;
    const QString bystanderProgram = tree.folder("bin") + "/bystander";
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), bystanderProgram));
    QProcess bystander;
    bystander.start(bystanderProgram, {QStringLiteral("30")});
    ASSERT_TRUE(bystander.waitForStarted());

    enum class Swap { none, linkToBystander, hardLinkToBystander, otherFileOfTheSameName };
    struct Case {
        const char* name;
        Swap swap;
    };
    const QList<Case> cases = {
        {"unchanged", Swap::none},
        {"a link to another running program", Swap::linkToBystander},
        {"a hard link to another running program", Swap::hardLinkToBystander},
        {"a different file of the same name", Swap::otherFileOfTheSameName},
    };
    const platform::RunningApplications apps = platform::runningApplications();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString appImage = tree.folder(QStringLiteral("Applications/%1").arg(int(c.swap))) + "/Tool.AppImage";
        ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), appImage));
        const std::optional<platform::FileIdentity> planned = platform::regularFileIdentity(appImage);
        ASSERT_TRUE(planned.has_value());
        QProcess running;
        running.start(appImage, {QStringLiteral("30")});
        ASSERT_TRUE(running.waitForStarted());

        if (c.swap != Swap::none) {
            ASSERT_TRUE(QFile::rename(appImage, appImage + ".aside"));
        }
        switch (c.swap) {
        case Swap::none:
            break;
        case Swap::linkToBystander:
            ASSERT_TRUE(QFile::link(bystanderProgram, appImage));
            break;
        case Swap::hardLinkToBystander:
            ASSERT_EQ(::link(QFile::encodeName(bystanderProgram).constData(), QFile::encodeName(appImage).constData()),
                      0);
            break;
        case Swap::otherFileOfTheSameName:
            ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), appImage));
            break;
        }

        const QList<platform::RunningInstance> found = apps.instances(appImage, appImage, planned);
        for (const platform::RunningInstance& instance : found) {
            apps.forceTerminate(instance);
        }

        if (c.swap == Swap::none) {
            ASSERT_EQ(found.size(), 1);
            EXPECT_EQ(found.first().pid, running.processId());
            EXPECT_TRUE(running.waitForFinished(5000));
        } else {
            EXPECT_TRUE(found.isEmpty());
            EXPECT_EQ(running.state(), QProcess::Running);
            // Without the plan's identity a link is still never followed.
            if (c.swap == Swap::linkToBystander) {
                EXPECT_TRUE(apps.instances(appImage, appImage, std::nullopt).isEmpty());
            }
        }
        EXPECT_EQ(bystander.state(), QProcess::Running);
        running.kill();
        running.waitForFinished();
    }
    bystander.kill();
    bystander.waitForFinished();
}
