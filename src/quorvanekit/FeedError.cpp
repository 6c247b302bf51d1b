#include "quorvanekit/FeedError.h"

#include <QCoreApplication>

namespace harborlite {

FeedError FeedError::transport(const QString& description)
{
    return {Kind::transport, description};
}

FeedError FeedError::timedOut()
{
    return {Kind::timedOut, QCoreApplication::translate("FeedError", "The request timed out.")};
}

FeedError FeedError::badServerResponse()
{
    return {Kind::badServerResponse, QCoreApplication::translate("FeedError", "The server returned a bad response.")};
}

FeedError FeedError::valueMissing()
{
    return {Kind::valueMissing,
            QCoreApplication::translate("FeedError", "The data couldn\u2019t be read because it is missing.")};
}

FeedError FeedError::dataCorrupted()
{
    return {Kind::dataCorrupted,
            QCoreApplication::translate("FeedError",
                                        "The data couldn\u2019t be read because it isn\u2019t in the correct format.")};
}

} // namespace harborlite
