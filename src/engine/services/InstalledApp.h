#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace harborlite {

// One installed application bundle, identified by its bundle identifier.
struct InstalledApp {
    QString bundleID;
    QString name;
    QString url;
    // "—" when the bundle declares no version.
    QString version;
    // Bytes of the whole bundle; 0 when sizes were not asked for.
    qint64 size = 0;
    std::optional<QDateTime> lastUsed;
    bool isAppleSoftware = false;
    // The bundle lies outside the user's home folder.
    bool isSystemScope = false;

    QString id() const { return bundleID; }
    bool operator==(const InstalledApp&) const = default;
};

} // namespace harborlite
