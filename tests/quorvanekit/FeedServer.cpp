#include "FeedServer.h"

#include <QNetworkProxy>
#include <QTcpSocket>

#include <gtest/gtest.h>

namespace harborlite::test {

FeedServer::FeedServer()
{
    // Requests go straight to this loopback server, whatever proxy the machine names.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    if (!server_.listen(QHostAddress::LocalHost)) {
        ADD_FAILURE() << "cannot listen on 127.0.0.1: " << server_.errorString().toStdString();
    }
    connect(&server_, &QTcpServer::newConnection, this, &FeedServer::accept);
}

QUrl FeedServer::site() const
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(server_.serverPort());
    return url;
}

void FeedServer::serve(const QByteArray& path, Response response)
{
    responses_.insert(path, std::move(response));
}

void FeedServer::accept()
{
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            if (socket->property("answered").toBool()) {
                socket->readAll();
                return;
            }
            QByteArray pending = socket->property("pending").toByteArray() + socket->readAll();
            const qsizetype end = pending.indexOf("\r\n\r\n");
            if (end < 0) {
                socket->setProperty("pending", pending);
                return;
            }
            socket->setProperty("answered", true);
            const QByteArray head = pending.left(end);
            const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
            Request request{requestLine.value(0), requestLine.value(1), head};
            requests_.append(request);
            answer(socket, request);
        });
    }
}

void FeedServer::answer(QTcpSocket* socket, const Request& request)
{
    const auto found = responses_.constFind(request.path);
    const Response response = found != responses_.cend() ? *found : Response(404);
    if (response.framing == Response::Framing::silent) {
        return;
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " Canned\r\nConnection: close\r\n";
    if (response.framing == Response::Framing::contentLength) {
        const qint64 length = response.declaredLength >= 0 ? response.declaredLength : response.body.size();
        head += "Content-Length: " + QByteArray::number(length) + "\r\n";
    }
    for (const auto& [name, value] : response.headers) {
        head += name + ": " + value + "\r\n";
    }
    socket->write(head + "\r\n");
    socket->write(response.body);
    socket->disconnectFromHost();
}

} // namespace harborlite::test
