#include "engine/commands/ShellRunner.h"
#include "platform/ElevatedCommand.h"
#include "platform/ToolTable.h"
#include "support/FakeTool.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <limits>
#include <optional>
#include <sys/types.h>

using namespace harborlite;
using ShellRunner::RunError;

namespace {

constexpr double noLimit = std::numeric_limits<double>::infinity();
// A limit the tools below always outlast and a loaded machine never reaches
// before they have written their first line and set up their traps.
constexpr double settleTime = 3.0;

// Kills a process the test left running in the background, once the test ends.
class BackgroundProcess {
public:
    explicit BackgroundProcess(QString pidFile)
        : pidFile_(std::move(pidFile))
    {
    }
    ~BackgroundProcess()
    {
        QFile file(pidFile_);
        if (file.open(QIODevice::ReadOnly)) {
            if (const pid_t pid = file.readAll().trimmed().toInt(); pid > 1) {
                ::kill(pid, SIGKILL);
            }
        }
    }
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;

private:
    QString pidFile_;
};

class ShellRunnerTest : public ::testing::Test {
protected:
    QString tool(const QString& name, const QByteArray& body) { return test::writeFakeTool(dir.path(), name, body); }
    QString file(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

RunError runError(const std::function<void()>& call)
{
    try {
        call();
    } catch (const RunError& error) {
        return error;
    }
    ADD_FAILURE() << "no RunError was thrown";
    return RunError::commandFailed(QStringLiteral("<nothing thrown>"));
}

} // namespace

TEST(RunErrorTest, DescriptionsAreTheUserFacingTexts)
{
    struct Row {
        RunError error;
        QString description;
    };
    const Row rows[] = {
        {RunError::authorizationFailed(QStringLiteral("Not authorized")),
         QStringLiteral("Administrator authorisation failed: Not authorized")},
        {RunError::commandFailed(QStringLiteral("rm: cannot remove")), QStringLiteral("rm: cannot remove")},
        {RunError::toolMissing(QStringLiteral("/usr/sbin/purge")),
         QStringLiteral("This version of macOS does not include /usr/sbin/purge.")},
        {RunError::launchFailed(QStringLiteral("Unknown task x.")),
         QStringLiteral("Could not start the task: Unknown task x.")},
        {RunError::cancelled(), QStringLiteral("Cancelled.")},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.error.errorDescription(), row.description);
        EXPECT_STREQ(row.error.what(), row.description.toUtf8().constData());
    }
    EXPECT_EQ(RunError::cancelled().kind(), RunError::Kind::cancelled);
    EXPECT_EQ(RunError::toolMissing(QStringLiteral("/a")).detail(), QStringLiteral("/a"));
}

TEST_F(ShellRunnerTest, ProgramThatCannotStartThrowsLaunchFailed)
{
    QFile plain(file(QStringLiteral("not-executable")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\nexit 0\n");
    plain.close();

    const QString paths[] = {file(QStringLiteral("missing")), plain.fileName(), dir.path()};
    for (const QString& path : paths) {
        const RunError error = runError([&] { ShellRunner::run(path, {}, 5); });
        EXPECT_EQ(error.kind(), RunError::Kind::launchFailed) << path.toStdString();
        EXPECT_TRUE(error.errorDescription().startsWith(QStringLiteral("Could not start the task: ") + path))
            << error.errorDescription().toStdString();
    }
}

TEST_F(ShellRunnerTest, ReturnsStatusAndBothStreamsUnchanged)
{
    struct Row {
        QByteArray body;
        int status;
        QString out;
        QString err;
    };
    const Row rows[] = {
        {"exit 0", 0, {}, {}},
        {"printf 'out\\n\\n'; printf 'err' >&2; exit 1", 1, QStringLiteral("out\n\n"), QStringLiteral("err")},
        {"printf 'a\\377b\\300\\n'; printf '\\342\\202' >&2", 0, QStringLiteral("a\uFFFDb\uFFFD\n"),
         QStringLiteral("\uFFFD")},
        {"printf 'caf\\303\\251 \\360\\237\\230\\200'; printf '\\355\\240\\200.' >&2", 0,
         QStringLiteral("caf\u00E9 \U0001F600"), QStringLiteral("\uFFFD\uFFFD\uFFFD.")},
        {"printf 'bye'; kill -KILL $$", SIGKILL, QStringLiteral("bye"), {}},
    };
    int index = 0;
    for (const Row& row : rows) {
        const QString path = tool(QStringLiteral("tool%1").arg(index++), row.body);
        const ShellRunner::Output output = ShellRunner::run(path, {}, 10);
        EXPECT_EQ(output.status, row.status) << row.body.constData();
        EXPECT_EQ(output.standardOutput, row.out) << row.body.constData();
        EXPECT_EQ(output.standardError, row.err) << row.body.constData();
    }
}

TEST_F(ShellRunnerTest, ArgumentsReachTheToolVerbatim)
{
    const QString path = tool(QStringLiteral("echoer"), "exit 0");
    const QStringList arguments = {
        QStringLiteral("two words"),
        QStringLiteral("\"double\""),
        QStringLiteral("it's"),
        QStringLiteral("$(touch %1)").arg(file(QStringLiteral("pwned"))),
        QString(),
        QStringLiteral("*"),
        QStringLiteral("line\nbreak"),
        QStringLiteral("back\\slash"),
        QStringLiteral("--flag=v;echo x"),
    };
    EXPECT_EQ(ShellRunner::run(path, arguments, 10).status, 0);
    EXPECT_EQ(test::recordedArguments(path), arguments);
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("pwned"))));
}

TEST_F(ShellRunnerTest, MegabytesOnBothStreamsNeverStallTheChild)
{
    // Standard error fills first: a reader that waited on standard output alone
    // would leave the child blocked on a full pipe for ever.
    const QString path = tool(QStringLiteral("chatty"),
                              "head -c 3000000 /dev/zero | tr '\\0' e >&2\n"
                              "head -c 2500000 /dev/zero | tr '\\0' o\n"
                              "head -c 1000000 /dev/zero | tr '\\0' e >&2\n");
    const ShellRunner::Output output = ShellRunner::run(path, {}, noLimit);
    EXPECT_EQ(output.status, 0);
    EXPECT_EQ(output.standardOutput, QString(2500000, QLatin1Char('o')));
    EXPECT_EQ(output.standardError, QString(4000000, QLatin1Char('e')));
}

TEST_F(ShellRunnerTest, ChildPastItsLimitIsTerminatedWithPartialOutput)
{
    const QString path = tool(QStringLiteral("slow"), "printf 'partial\\n'\nexec sleep 1000");
    const ShellRunner::Output output = ShellRunner::run(path, {}, settleTime);
    EXPECT_EQ(output.status, SIGTERM);
    EXPECT_EQ(output.standardOutput, QStringLiteral("partial\n"));
    EXPECT_EQ(output.standardError, QString());
}

TEST_F(ShellRunnerTest, ChildIgnoringTerminateIsKilledAndItsGroupAsked)
{
    if (!QFile::exists(QStringLiteral("/usr/bin/setsid"))) {
        GTEST_SKIP() << "setsid is not installed";
    }
    // A descendant in the child's group reports the terminate request; one in a
    // session of its own holds both pipes open for ever; the child itself
    // ignores the request and never ends.
    const QString escapedPid = file(QStringLiteral("escaped.pid"));
    BackgroundProcess escaped(escapedPid);
    const QString path = tool(QStringLiteral("stubborn"),
                              "sh -c 'trap \"echo descendant-terminated; exit 0\" TERM; "
                              "while :; do sleep 0.05; done' &\n"
                              "setsid sleep 1000 &\n"
                              "echo $! > \"$1\"\n"
                              "trap '' TERM\n"
                              "printf 'started\\n'\n"
                              "while :; do sleep 0.05; done");
    const ShellRunner::Output output = ShellRunner::run(path, {escapedPid}, settleTime);
    EXPECT_EQ(output.status, SIGKILL);
    EXPECT_EQ(output.standardOutput, QStringLiteral("started\ndescendant-terminated\n"));
}

TEST_F(ShellRunnerTest, DescendantHoldingThePipesDoesNotOutlastTheChild)
{
    const QString backgroundPid = file(QStringLiteral("background.pid"));
    BackgroundProcess background(backgroundPid);
    const QString path = tool(QStringLiteral("spawner"),
                              "sleep 1000 &\n"
                              "echo $! > \"$1\"\n"
                              "printf 'done\\n'; printf 'note' >&2; exit 3");
    const ShellRunner::Output output = ShellRunner::run(path, {backgroundPid}, noLimit);
    EXPECT_EQ(output.status, 3);
    EXPECT_EQ(output.standardOutput, QStringLiteral("done\n"));
    EXPECT_EQ(output.standardError, QStringLiteral("note"));
}

TEST(ShellRunnerLines, SplitsAtLineFeedsAndDropsEmptyPieces)
{
    EXPECT_EQ(ShellRunner::lines(QStringLiteral("a\n\nb\n")), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(ShellRunner::lines(QStringLiteral("x\r\n y ")),
              (QStringList{QStringLiteral("x\r"), QStringLiteral(" y ")}));
    EXPECT_TRUE(ShellRunner::lines(QStringLiteral("\n\n")).isEmpty());
    EXPECT_TRUE(ShellRunner::lines(QString()).isEmpty());
}

class RunPrivilegedTest : public ShellRunnerTest {
protected:
    // Installs a pkexec stand-in with `body` into the tool table.
    void usePkexec(const QByteArray& body) { table.pkexec = tool(QStringLiteral("pkexec"), body); }

    platform::ToolTable table;
};

TEST_F(RunPrivilegedTest, CommandLineReachesTheShellUnderPkexecAsOneArgument)
{
    usePkexec("printf 'result\\n'; printf 'chatter' >&2; exit 0");
    const QString commandLine = QStringLiteral("/bin/rm -rf \"/Applications/A \\\"B\\\" $(x).app\"; echo 'it''s'");

    const ShellRunner::Output output = ShellRunner::runPrivileged(commandLine, table);
    EXPECT_EQ(output.status, 0);
    EXPECT_EQ(output.standardOutput, QStringLiteral("result\n"));
    EXPECT_EQ(output.standardError, QString());

    const QStringList arguments = test::recordedArguments(table.pkexec);
    ASSERT_EQ(arguments.size(), 7);
    EXPECT_EQ(arguments[0], QStringLiteral("--disable-internal-agent"));
    EXPECT_EQ(arguments[1], QStringLiteral("/bin/sh"));
    EXPECT_EQ(arguments[2], QStringLiteral("-c"));
    EXPECT_EQ(arguments[5], QStringLiteral("/bin/sh"));
    EXPECT_EQ(arguments[6], commandLine);
}

TEST_F(RunPrivilegedTest, PkexecOutcomesMapOntoTheErrors)
{
    const QString noPrompt = QStringLiteral("No password prompt is available on this system, so nothing was changed.");
    struct Row {
        QByteArray body;
        RunError error;
    };
    const Row rows[] = {
        {"exit 126", RunError::cancelled()},
        {"printf 'Error executing command as another user: Not authorized\\n' >&2; exit 127",
         RunError::authorizationFailed(QStringLiteral("Error executing command as another user: Not authorized"))},
        {"exit 127", RunError::authorizationFailed(QStringLiteral("The task did not complete."))},
        // No prompt could be shown: polkit out of reach, or no agent in the session.
        {"printf 'Error getting authority: Error initializing authority: Could not connect: No such file or "
         "directory\\n' >&2; exit 127",
         RunError::authorizationFailed(noPrompt)},
        {"printf 'Error executing command as another user: No authentication agent found.\\n' >&2; exit 127",
         RunError::authorizationFailed(noPrompt)},
        {"printf 'boom\\n' >&2; exit 1", RunError::commandFailed(QStringLiteral("boom"))},
        {"exit 125", RunError::commandFailed(QStringLiteral("The task did not complete."))},
        {"kill -TERM $$", RunError::commandFailed(QStringLiteral("The task did not complete."))},
    };
    for (const Row& row : rows) {
        usePkexec(row.body);
        const RunError error = runError([&] { ShellRunner::runPrivileged(QStringLiteral("/usr/sbin/purge"), table); });
        EXPECT_EQ(error, row.error) << row.body.constData() << " gave " << error.what();
    }
    EXPECT_TRUE(RunError::authorizationFailed(QStringLiteral("x"))
                    .errorDescription()
                    .startsWith(QStringLiteral("Administrator authorisation failed: ")));
}

TEST_F(RunPrivilegedTest, CommandsOwnStatusesAreNeverTakenForPkexecs)
{
    // This stand-in grants every request and runs the command as the current user.
    usePkexec("shift\nexec \"$@\"");
    struct Row {
        QString commandLine;
        std::optional<RunError> error;
        QString out;
    };
    const Row rows[] = {
        {QStringLiteral("printf 'out\\n'; printf 'err\\n' >&2"), std::nullopt, QStringLiteral("out\n")},
        {QStringLiteral("printf '%s|' \"a \\\"b\\\" \\\\c\" 'd e'"), std::nullopt, QStringLiteral("a \"b\" \\c|d e|")},
        {QStringLiteral("exit 126"), RunError::commandFailed(QStringLiteral("The task did not complete.")), {}},
        {QStringLiteral("exit 127"), RunError::commandFailed(QStringLiteral("The task did not complete.")), {}},
        {QStringLiteral("echo boom >&2; exit 1"), RunError::commandFailed(QStringLiteral("boom")), {}},
    };
    for (const Row& row : rows) {
        if (row.error) {
            const RunError error = runError([&] { ShellRunner::runPrivileged(row.commandLine, table); });
            EXPECT_EQ(error, *row.error) << row.commandLine.toStdString() << " gave " << error.what();
        } else {
            const ShellRunner::Output output = ShellRunner::runPrivileged(row.commandLine, table);
            EXPECT_EQ(output.status, 0);
            EXPECT_EQ(output.standardOutput, row.out);
            EXPECT_EQ(output.standardError, QString());
        }
    }

    const RunError notFound =
        runError([&] { ShellRunner::runPrivileged(file(QStringLiteral("no-such-tool")), table); });
    EXPECT_EQ(notFound.kind(), RunError::Kind::commandFailed);
    EXPECT_TRUE(notFound.detail().contains(QStringLiteral("not found"))) << notFound.what();
}

TEST_F(RunPrivilegedTest, MissingPkexecThrowsLaunchFailed)
{
    table.pkexec = file(QStringLiteral("pkexec"));

    const RunError error = runError([&] { ShellRunner::runPrivileged(QStringLiteral("/usr/sbin/purge"), table); });
    EXPECT_EQ(error.kind(), RunError::Kind::launchFailed);
    EXPECT_TRUE(error.errorDescription().startsWith(QStringLiteral("Could not start the task: ")));
}
