#include "quorvanekit/FeedError.h"

namespace harborlite {

FeedError FeedError::transport(const QString& description)
{
    return {Kind::transport, description};
}

FeedError FeedError::timedOut()
{
    return {Kind::timedOut, QStringLiteral("The request timed out.")};
}

FeedError FeedError::badServerResponse()
{
    return {Kind::badServerResponse, QStringLiteral("The server returned a bad response.")};
}

FeedError FeedError::valueMissing()
{
    return {Kind::valueMissing, QStringLiteral("The data couldn\u2019t be read because it is missing.")};
}

FeedError FeedError::dataCorrupted()
{
    return {Kind::dataCorrupted,
            QStringLiteral("The data couldn\u2019t be read because it isn\u2019t in the correct format.")};
}

} // namespace harborlite
