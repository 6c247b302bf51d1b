#include "platform/FileManager.h"
#include "support/FakeTool.h"
#include "support/FixtureTree.h"
#include "support/QtPrinters.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;

TEST(FileManager, WithoutASessionBusTheTablesOpenerShowsTheFolder)
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        GTEST_SKIP() << "a session bus is reachable here; the fallback only runs without one";
    }
    FixtureTree tree;
    const QString item = tree.file("Docs/report.txt", 10);
    platform::ToolTable tools;
    tools.xdgOpen = test::writeFakeTool(tree.root(), QStringLiteral("opener"), "touch \"$0.done\"");

    platform::revealInFileManager({item}, tools);

    // The opener is started detached: wait for it to have run.
    const QDeadlineTimer patience(60000);
    while (!QFileInfo::exists(tools.xdgOpen + QStringLiteral(".done")) && !patience.hasExpired()) {
        QThread::yieldCurrentThread();
    }
    EXPECT_EQ(test::recordedArguments(tools.xdgOpen),
              QStringList{QUrl::fromLocalFile(tree.path("Docs")).toString(QUrl::FullyEncoded)});
}
