#include "platform/SingleInstance.h"

#include "support/EventWait.h"

#include <QFile>
#include <unistd.h>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using harborlite::platform::SingleInstance;

TEST(SingleInstance, ASecondCopyRaisesTheFirstAndLeaves)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QString socket = runtime.filePath(QStringLiteral("harborlite-1000.socket"));

    SingleInstance first(socket);
    ASSERT_TRUE(first.claim());
    EXPECT_TRUE(first.isListening());
    int raised = 0;
    QObject::connect(&first, &SingleInstance::raiseRequested, [&] { ++raised; });

    SingleInstance second(socket);
    EXPECT_FALSE(second.claim());
    EXPECT_FALSE(second.isListening());
    harborlite::test::waitFor([&] { return raised == 1; });

    SingleInstance third(socket);
    EXPECT_FALSE(third.claim());
    harborlite::test::waitFor([&] { return raised == 2; });
}

TEST(SingleInstance, TakesOverASocketLeftByACrashedCopy)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QString socket = runtime.filePath(QStringLiteral("harborlite-1000.socket"));
    {
        QFile leftover(socket);
        ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    }
    SingleInstance copy(socket);
    EXPECT_TRUE(copy.claim());
    EXPECT_TRUE(copy.isListening());
}

TEST(SingleInstance, SocketLivesInTheRuntimeFolderNamedAfterTheUser)
{
    const QString path = SingleInstance::defaultSocketPath();
    EXPECT_TRUE(path.startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/'))) << path.toStdString();
    EXPECT_TRUE(path.endsWith(QStringLiteral("-") + QString::number(::getuid()) + QStringLiteral(".socket")));
}
