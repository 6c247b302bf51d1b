#pragma once

#include "quorvanekit/AppUpdate.h"
#include "quorvanekit/FeedError.h"

#include <QUrl>

#include <chrono>
#include <functional>
#include <variant>

class QNetworkAccessManager;

namespace harborlite {

using FeedResult = std::variant<AppUpdate, FeedError>;

struct FeedLimits {
    // From sending the request to the end of the body.
    std::chrono::milliseconds timeLimit{20000};
    // A feed document is a few kilobytes; a longer body is refused unread.
    qint64 maximumBodySize = 1024 * 1024;
};

// Fetches the feed document with GET, bypassing any cache, uncompressed, and
// decodes it. Only a status from 200 through 299 is accepted; redirects are
// followed between http and https locations, never from https down to http
// (judged from where the request stands at each hop) nor to any other scheme. `done` runs exactly once, on the
// manager's thread, unless the manager is destroyed first.
void requestFeed(QNetworkAccessManager& network, const QUrl& feedURL, const FeedLimits& limits,
                 std::function<void(FeedResult)> done);

} // namespace harborlite
