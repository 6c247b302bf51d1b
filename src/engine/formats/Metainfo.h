#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// AppStream metainfo (".metainfo.xml", ".appdata.xml"), the description an
// application ships of itself. Read from anywhere, so never trusted: files
// over maxFileBytes, malformed XML and versions that are not short single-line
// text give nothing.
namespace harborlite::Metainfo {

inline constexpr qint64 maxFileBytes = 1024 * 1024;
inline constexpr qsizetype maxVersionLength = 64;

// The version of the newest release listed under <releases>: the release with
// the latest "timestamp" (or "date") when releases carry one, else the first
// listed, as the format orders them newest first.
std::optional<QString> newestReleaseVersion(const QByteArray& xml);

} // namespace harborlite::Metainfo
