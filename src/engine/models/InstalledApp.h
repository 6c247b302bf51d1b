#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace harborlite {

// One installed application, identified by its bundle identifier: an
// application bundle, or one of the Linux forms whose removal is exact.
struct InstalledApp {
    enum class Kind {
        bundle,
        // A single file; `url` is the file.
        appImage,
        // An application of a Flatpak installation, `bundleID` its application
        // id; `url` is its folder in the installation.
        flatpak,
        // A desktop application of a Debian package, `bundleID` its desktop
        // entry's name without ".desktop"; `url` is the desktop entry. The
        // package manager owns its files: it is never removed here.
        debianPackage,
    };

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
    Kind kind = Kind::bundle;
    // The icon its desktop entry names: a theme icon name or an absolute
    // path; empty when there is none (bundles).
    QString iconName;

    bool isManagedByPackageManager() const { return kind == Kind::debianPackage; }
    QString id() const { return bundleID; }
    bool operator==(const InstalledApp&) const = default;
};

} // namespace harborlite
