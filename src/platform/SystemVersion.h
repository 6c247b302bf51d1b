#pragma once

#include <QString>
#include <QStringView>

#include <compare>
#include <optional>

namespace harborlite::platform {

// An operating-system version. Ordered major first, then minor, then patch.
struct OperatingSystemVersion {
    qint64 majorVersion = 0;
    qint64 minorVersion = 0;
    qint64 patchVersion = 0;

    auto operator<=>(const OperatingSystemVersion&) const = default;
};

// The text as a decimal integer: an optional sign, then ASCII digits only, and
// within range. None for anything else (spaces included).
std::optional<qint64> decimalInteger(QStringView text);

// Dotted version text such as "13.0" or "12.6.1": the pieces between dots that
// read as decimal integers, in order, the others dropped (so "13.x.4" gives
// 13.4.0); a missing piece is 0.
OperatingSystemVersion versionFromText(QStringView text);

// The running distribution's version: VERSION_ID of `root`/etc/os-release, or
// of `root`/usr/lib/os-release when the former does not exist, read as dotted
// text. 0.0.0 when neither names a version (rolling releases have none).
OperatingSystemVersion systemVersion(const QString& root = QStringLiteral("/"));

} // namespace harborlite::platform
