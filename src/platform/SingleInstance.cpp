#include "platform/SingleInstance.h"

#include "platform/UserId.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <sys/socket.h>
#include <sys/stat.h>

namespace harborlite::platform {

namespace {

const QByteArray raiseMessage = QByteArrayLiteral("raise\n");

// How long a later copy waits for the first one to take its message; the
// first copy answers from its event loop, so this only bounds a hung copy.
constexpr int answerMilliseconds = 2000;

// Whether the process at the other end of the socket runs as this user.
bool isOwnUser(const QLocalSocket& socket)
{
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0
        && length == sizeof peer && peer.uid == userId().get();
}

} // namespace

QString SingleInstance::defaultSocketPath()
{
    const QString folder = runtimeFolder();
    if (folder.isEmpty()) {
        return {};
    }
    return folder + QStringLiteral("/harborlite-") + QString::number(userId().get()) + QStringLiteral(".socket");
}

QString SingleInstance::runtimeFolder()
{
    const QString given = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!given.isEmpty() && isPrivateFolder(given)) {
        return given;
    }
    // Without a runtime folder of the user's own, one of this program's: made
    // for the user alone, and used only when it still is.
    const QString own = QDir::tempPath() + QStringLiteral("/harborlite-runtime-") + QString::number(userId().get());
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    return isPrivateFolder(own) ? own : QString();
}

bool SingleInstance::isPrivateFolder(const QString& path)
{
    struct stat status { };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode)
        && status.st_uid == userId().get() && (status.st_mode & 077) == 0;
}

SingleInstance::SingleInstance(QString socketPath, QObject* parent)
    : QObject(parent)
    , socketPath_(std::move(socketPath))
{
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::isListening() const
{
    return server_ && server_->isListening();
}

bool SingleInstance::claim()
{
    if (isListening()) {
        return true;
    }
    if (askRunningCopy()) {
        return false;
    }
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath_)) {
        // Nobody answered on the socket, so it is a crashed copy's leftover.
        QLocalServer::removeServer(socketPath_);
        if (!server_->listen(socketPath_)) {
            server_.reset();
            return true;
        }
    }
    connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::accept);
    return true;
}

bool SingleInstance::askRunningCopy() const
{
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(answerMilliseconds)) {
        return false;
    }
    // Whoever else listens there is not this user's copy.
    if (!isOwnUser(socket)) {
        socket.abort();
        return false;
    }
    socket.write(raiseMessage);
    const bool sent = socket.waitForBytesWritten(answerMilliseconds);
    socket.disconnectFromServer();
    return sent;
}

void SingleInstance::accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!isOwnUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto read = [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == raiseMessage) {
                    emit raiseRequested();
                }
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        read();
    }
}

} // namespace harborlite::platform
