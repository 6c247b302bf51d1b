#pragma once

#include <QString>

namespace harborlite {

// Why a request for the update feed failed. `description` is what a check the
// user started shows, unchanged.
struct FeedError {
    enum class Kind {
        // The connection failed; the description is the network layer's own.
        transport,
        // No complete answer within the time limit.
        timedOut,
        // A status outside 200 through 299, or a redirect that was not followed.
        badServerResponse,
        // A required key is absent or null.
        valueMissing,
        // Not JSON, a value of the wrong type, or a body over the size limit.
        dataCorrupted,
    };

    Kind kind;
    QString description;

    bool operator==(const FeedError&) const = default;

    static FeedError transport(const QString& description);
    static FeedError timedOut();
    static FeedError badServerResponse();
    static FeedError valueMissing();
    static FeedError dataCorrupted();
};

} // namespace harborlite
