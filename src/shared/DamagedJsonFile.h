#pragma once

#include <QJsonDocument>
#include <QString>

namespace harborlite {

// Reading a settings file that may be damaged (cut short by a crash, edited by
// hand) without losing what it still holds.
struct DamagedJsonFile {
    // The document the bytes hold; for bytes that do not parse, the longest
    // whole prefix of it: every member or element that ended before the damage,
    // with the containers left open closed again. Null when nothing before the
    // damage can be read.
    static QJsonDocument readable(const QByteArray& bytes);

    // Renames the file at `path` to `<path>.bad-<UTC time>` beside it, so that
    // writing a repaired file keeps the damaged one. The name kept, or empty
    // when it could not be kept.
    static QString keepAside(const QString& path);
};

} // namespace harborlite
