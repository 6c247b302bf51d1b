#include "platform/SingleInstance.h"

#include "platform/UserId.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace harborlite::platform {

namespace {

const QByteArray raiseMessage = QByteArrayLiteral("raise\n");

// How long a later copy waits for the first one to take its message; the
// first copy answers from its event loop, so this only bounds a hung copy.
constexpr int answerMilliseconds = 2000;

} // namespace

QString SingleInstance::defaultSocketPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return folder + QStringLiteral("/harborlite-") + QString::number(userId().get()) + QStringLiteral(".socket");
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
    socket.write(raiseMessage);
    const bool sent = socket.waitForBytesWritten(answerMilliseconds);
    socket.disconnectFromServer();
    return sent;
}

void SingleInstance::accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
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
