#include "support/FixtureTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using harborlite::test::FixtureTree;

namespace {

// Generous: the sanitizer build starts slowly on a busy machine.
constexpr int kFinishMilliseconds = 240'000;

const QString kProgram = QStringLiteral(HARBORLITE_PROGRAM);
const QString kShot = QStringLiteral(HARBORLITE_SOURCE_DIR "/scripts/headless-shot");

// A home, configuration, data and runtime folder of the test's own, so the
// copies started here never meet the developer's.
class HeadlessShotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xwininfo", "import"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
                GTEST_SKIP() << tool << " is not installed";
            }
        }
        home = tree.folder(QStringLiteral("home"));
        runtime = tree.folder(QStringLiteral("runtime"));
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void TearDown() override
    {
        if (first.state() != QProcess::NotRunning) {
            first.kill();
            first.waitForFinished(kFinishMilliseconds);
        }
    }

    QProcessEnvironment environment(bool offscreen) const
    {
        QProcessEnvironment made = QProcessEnvironment::systemEnvironment();
        made.insert(QStringLiteral("HOME"), home);
        made.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        made.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        made.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
        made.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
        // A copy that leaves on its own must not fail for Qt's start-up allocations.
        made.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        made.insert(QStringLiteral("HARBORLITE_WINDOW_WAIT"), QStringLiteral("200"));
        made.remove(QStringLiteral("DISPLAY"));
        made.remove(QStringLiteral("WAYLAND_DISPLAY"));
        if (offscreen) {
            made.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        } else {
            made.remove(QStringLiteral("QT_QPA_PLATFORM"));
        }
        return made;
    }

    struct Finished {
        int status = -1;
        QString errors;
    };

    Finished run(const QString& program, const QStringList& arguments, bool offscreen) const
    {
        QProcess process;
        process.setProcessEnvironment(environment(offscreen));
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(kFinishMilliseconds)) << program.toStdString();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardError())};
    }

    // Starts a first copy and waits until it listens for later ones.
    void startFirstCopy()
    {
        first.setProcessEnvironment(environment(true));
        first.start(kProgram, {});
        ASSERT_TRUE(first.waitForStarted(kFinishMilliseconds));
        const QDir folder(runtime);
        while (folder.entryList({QStringLiteral("harborlite-*.socket")}, QDir::System).isEmpty()) {
            ASSERT_EQ(first.state(), QProcess::Running) << first.readAllStandardError().toStdString();
            first.waitForReadyRead(200);
        }
    }

    FixtureTree tree;
    QString home;
    QString runtime;
    QProcess first;
};

} // namespace

TEST_F(HeadlessShotTest, ASecondCopySaysSoOnStandardErrorAndLeaves)
{
    startFirstCopy();
    const Finished second = run(kProgram, {}, true);
    EXPECT_EQ(second.status, 0);
    EXPECT_TRUE(second.errors.contains(
        QStringLiteral("Harborlite is already running for this user; its window was brought to the front.")))
        << second.errors.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(HeadlessShotTest, APictureOfTheWindowIsSaved)
{
    const QString picture = tree.path(QStringLiteral("shot.png"));
    const Finished shot = run(kShot, {kProgram, picture}, false);
    EXPECT_EQ(shot.status, 0) << shot.errors.toStdString();
    EXPECT_GT(QFileInfo(picture).size(), 0);
}

TEST_F(HeadlessShotTest, FailsWhenTheProgramEndsBeforeItsWindowAppears)
{
    // A copy already running for this user, on another display: the new one
    // raises it and leaves, and no picture is taken of anything.
    startFirstCopy();
    const QString picture = tree.path(QStringLiteral("shot.png"));
    const Finished shot = run(kShot, {kProgram, picture}, false);
    EXPECT_EQ(shot.status, 1);
    EXPECT_TRUE(shot.errors.contains(QStringLiteral("already running"))) << shot.errors.toStdString();
    EXPECT_TRUE(shot.errors.contains(QStringLiteral("before its window appeared; no picture was taken.")))
        << shot.errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(picture));
}

TEST_F(HeadlessShotTest, FailsWhenThePictureCannotBeWritten)
{
    const QString picture = tree.path(QStringLiteral("no-such-folder/shot.png"));
    const Finished shot = run(kShot, {kProgram, picture}, false);
    EXPECT_EQ(shot.status, 1);
    EXPECT_TRUE(shot.errors.contains(QStringLiteral("the picture could not be written to ") + picture))
        << shot.errors.toStdString();
}
