#pragma once

#include "quorvanekit/FeedError.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>
#include <variant>

namespace harborlite {

// The newest release as the update feed describes it. Only ever read.
struct AppUpdate {
    QString version;
    qint64 build = 0;
    std::optional<QString> minimumSystemVersion;
    QUrl downloadUrl;
    std::optional<QUrl> pageUrl;
    std::optional<QUrl> releaseNotesUrl;
    std::optional<QString> releasedAt;
    QStringList notes;

    bool operator==(const AppUpdate&) const = default;

    // Decodes one feed document: a JSON object whose keys are the field names.
    // "version", "build" (a JSON integer) and "downloadUrl" are required; the
    // other keys may be absent or null ("notes" then reads as empty), but a
    // present value of the wrong type fails, as does a location that does not
    // parse. Other keys are ignored.
    static std::variant<AppUpdate, FeedError> decode(const QByteArray& json);
};

} // namespace harborlite
