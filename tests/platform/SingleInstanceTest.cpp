#include "platform/SingleInstance.h"

#include "platform/UserId.h"
#include "support/EventWait.h"
#include "support/FixtureTree.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using harborlite::platform::SingleInstance;

namespace {

// Sets an environment variable, or unsets it for a null value, until it goes.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QByteArray& value)
        : name_(name)
        , previous_(qgetenv(name))
    {
        set(value);
    }
    ~ScopedVariable() { set(previous_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void set(const QByteArray& value) const
    {
        if (value.isNull()) {
            qunsetenv(name_);
        } else {
            qputenv(name_, value);
        }
    }
    const char* name_;
    QByteArray previous_;
};

mode_t modeOf(const QString& path)
{
    struct stat status { };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode : 0;
}

} // namespace

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

TEST(SingleInstance, TheSocketFolderIsOnlyEverOneNoOtherUserMayEnter)
{
    harborlite::test::FixtureTree tree;
    const QString temporary = tree.folder(QStringLiteral("tmp"));
    ::chmod(QFile::encodeName(temporary).constData(), 01777);
    const QString own = temporary + QStringLiteral("/harborlite-runtime-") + QString::number(::getuid());
    const QString privateRuntime = tree.folder(QStringLiteral("run/user"));
    ::chmod(QFile::encodeName(privateRuntime).constData(), 0700);
    const QString openRuntime = tree.folder(QStringLiteral("run/open"));
    ::chmod(QFile::encodeName(openRuntime).constData(), 0755);
    const ScopedVariable tmp("TMPDIR", QFile::encodeName(temporary));

    struct Case {
        const char* name;
        QByteArray runtime;
        QString folder;
    };
    const Case cases[] = {
        {"a private runtime folder", QFile::encodeName(privateRuntime), privateRuntime},
        {"no runtime folder", QByteArray(), own},
        {"an empty runtime folder name", QByteArray(""), own},
        {"a runtime folder others may enter", QFile::encodeName(openRuntime), own},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScopedVariable runtime("XDG_RUNTIME_DIR", c.runtime);
        const QString path = SingleInstance::defaultSocketPath();
        EXPECT_EQ(path,
                  c.folder + QStringLiteral("/harborlite-") + QString::number(::getuid()) + QStringLiteral(".socket"));
        EXPECT_EQ(modeOf(c.folder) & 07777, 0700u);
    }

    // A folder of that name that others may enter, or a link, is never used.
    const ScopedVariable runtime("XDG_RUNTIME_DIR", QByteArray());
    ::chmod(QFile::encodeName(own).constData(), 0755);
    EXPECT_EQ(SingleInstance::defaultSocketPath(), QString());
    ASSERT_TRUE(QDir(own).removeRecursively());
    tree.symlink(QStringLiteral("tmp/harborlite-runtime-") + QString::number(::getuid()), privateRuntime);
    EXPECT_EQ(SingleInstance::defaultSocketPath(), QString());
}

TEST(SingleInstance, AnotherUsersCopyIsNeitherAskedNorAnswered)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QString socket = runtime.filePath(QStringLiteral("harborlite-1000.socket"));
    SingleInstance first(socket);
    ASSERT_TRUE(first.claim());
    int raised = 0;
    QObject::connect(&first, &SingleInstance::raiseRequested, [&] { ++raised; });

    // Both ends now take this process for another user's.
    const harborlite::platform::Seam<uid_t>::Override other(harborlite::platform::userId(), ::getuid() + 1);
    const int asking = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(asking, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(socket);
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    ASSERT_EQ(::connect(asking, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::send(asking, "raise\n", 6, MSG_NOSIGNAL), 6);
    // The listener either asks for the window or hangs up.
    harborlite::test::waitFor([&] {
        char byte = 0;
        return raised > 0 || ::recv(asking, &byte, 1, MSG_DONTWAIT | MSG_PEEK) == 0;
    });
    ::close(asking);
    EXPECT_EQ(raised, 0);

    // The listener is not this user's copy: the later one runs rather than leaves.
    SingleInstance second(socket);
    EXPECT_TRUE(second.claim());
    EXPECT_EQ(raised, 0);
}
