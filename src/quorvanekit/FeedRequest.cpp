#include "quorvanekit/FeedRequest.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>
#include <optional>
#include <utility>

namespace harborlite {

namespace {

bool isWebScheme(const QString& scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

bool followsRedirect(const QUrl& from, const QUrl& to)
{
    if (!isWebScheme(to.scheme())) {
        return false;
    }
    return !(from.scheme() == QLatin1String("https") && to.scheme() == QLatin1String("http"));
}

// One request in flight; lives as long as the reply's connections.
struct Transfer {
    QNetworkReply* reply;
    FeedLimits limits;
    std::function<void(FeedResult)> done;
    // Where the request stands: the feed, then each redirect target followed.
    // The reply cannot say: inside redirected() it already names the target.
    QUrl location;
    QByteArray body;
    bool finished = false;

    std::optional<int> status() const
    {
        const QVariant code = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        return code.isValid() ? std::optional<int>(code.toInt()) : std::nullopt;
    }

    static bool accepted(int status) { return status >= 200 && status <= 299; }

    // Hands the result over once.
    void finish(FeedResult result)
    {
        if (finished) {
            return;
        }
        finished = true;
        done(std::move(result));
    }

    // Hands the result over and stops a transfer that would go on. A refused
    // status needs no stop: the reply ends by itself, its unread body held
    // in the bounded read buffer, and the deadline ends it at the latest.
    void stop(FeedResult result)
    {
        if (finished) {
            return;
        }
        finish(std::move(result));
        // Queued: aborting inside the reply's own signals reports a second error.
        QMetaObject::invokeMethod(
            reply,
            [target = reply] {
                if (target->isRunning()) {
                    target->abort();
                }
            },
            Qt::QueuedConnection);
    }

    // Reads what has arrived; false once the body is over the limit.
    bool collect()
    {
        body.append(reply->readAll());
        if (body.size() > limits.maximumBodySize) {
            stop(FeedError::dataCorrupted());
            return false;
        }
        return true;
    }

    void onHeaders()
    {
        const std::optional<int> code = status();
        if (!code || finished) {
            return;
        }
        if (!accepted(*code)) {
            if (*code < 300 || *code > 399) {
                finish(FeedError::badServerResponse());
            }
            return;
        }
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limits.maximumBodySize) {
            stop(FeedError::dataCorrupted());
        }
    }

    void onData()
    {
        if (finished) {
            return;
        }
        const std::optional<int> code = status();
        if (!code || !accepted(*code)) {
            finish(FeedError::badServerResponse());
            return;
        }
        collect();
    }

    void onFinished()
    {
        if (finished) {
            return;
        }
        const std::optional<int> code = status();
        if (!code) {
            finish(reply->error() != QNetworkReply::NoError ? FeedError::transport(reply->errorString())
                                                            : FeedError::badServerResponse());
            return;
        }
        if (!accepted(*code)) {
            finish(FeedError::badServerResponse());
            return;
        }
        if (reply->error() != QNetworkReply::NoError) {
            finish(FeedError::transport(reply->errorString()));
            return;
        }
        if (collect()) {
            finish(AppUpdate::decode(body));
        }
    }
};

} // namespace

void requestFeed(QNetworkAccessManager& network, const QUrl& feedURL, const FeedLimits& limits,
                 std::function<void(FeedResult)> done)
{
    QNetworkRequest request(feedURL);
    // The body as stored: a compressed one would be inflated past the size cap
    // before any of it is seen. A server that compresses anyway sends no JSON.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);

    QNetworkReply* reply = network.get(request);
    // What is not read stays bounded too (the body of a refused answer).
    reply->setReadBufferSize(64 * 1024);
    auto transfer = std::make_shared<Transfer>(Transfer{reply, limits, std::move(done), feedURL, {}});

    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, [transfer] {
        transfer->finish(FeedError::timedOut());
        transfer->reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::redirected, reply, [transfer](const QUrl& target) {
        if (transfer->finished) {
            return;
        }
        if (followsRedirect(transfer->location, target)) {
            transfer->location = target;
            emit transfer->reply->redirectAllowed();
        } else {
            transfer->stop(FeedError::badServerResponse());
        }
    });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [transfer] { transfer->onHeaders(); });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [transfer] { transfer->onData(); });
    QObject::connect(reply, &QNetworkReply::finished, reply, [transfer] {
        transfer->onFinished();
        transfer->reply->deleteLater();
    });
    deadline->start(limits.timeLimit);
}

} // namespace harborlite
