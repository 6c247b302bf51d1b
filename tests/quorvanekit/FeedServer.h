#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

#include <memory>
#include <utility>

namespace harborlite::test {

// A small HTTP/1.1 server on 127.0.0.1 for the update tests. Each path gets a
// canned response; every request is recorded. Unknown paths answer 404. With
// `Transport::tls` it speaks HTTPS under a certificate for 127.0.0.1 that the
// test process trusts (added to the default TLS configuration).
class FeedServer : public QObject {
    Q_OBJECT

public:
    struct Response {
        enum class Framing {
            // Content-Length (the body's size unless `declaredLength` says
            // otherwise), then the connection closes.
            contentLength,
            // No length: the body ends when the connection closes.
            untilClose,
            // Reads the request and never answers.
            silent,
        };

        using Headers = QList<QPair<QByteArray, QByteArray>>;

        Response(int code = 200, QByteArray content = {}, Headers extraHeaders = {},
                 Framing framingMode = Framing::contentLength, qint64 length = -1)
            : status(code)
            , body(std::move(content))
            , headers(std::move(extraHeaders))
            , framing(framingMode)
            , declaredLength(length)
        {
        }

        int status;
        QByteArray body;
        Headers headers;
        Framing framing;
        qint64 declaredLength;
    };

    struct Request {
        QByteArray method;
        QByteArray path;
        QByteArray head;
    };

    enum class Transport { plain, tls };

    explicit FeedServer(Transport transport = Transport::plain);

    // "http://127.0.0.1:<port>", or "https://..." for a TLS server.
    QUrl site() const;

    void serve(const QByteArray& path, Response response);

    const QList<Request>& requests() const { return requests_; }

private:
    void accept();
    void answer(class QTcpSocket* socket, const Request& request);

    Transport transport_;
    std::unique_ptr<QTcpServer> server_;
    QHash<QByteArray, Response> responses_;
    QList<Request> requests_;
};

} // namespace harborlite::test
