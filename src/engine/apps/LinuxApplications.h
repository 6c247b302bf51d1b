#pragma once

#include "engine/models/InstalledApp.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

namespace harborlite {

// The Linux forms of installed applications whose removal is exact:
// AppImages, Flatpak applications of the user's and the system's
// installation, and the desktop applications of Debian packages (listed, but
// the package manager owns them). Every call reads the disk afresh.
class LinuxApplications {
public:
    // Where each form lives. Unset folders are the home folder's, read at call time.
    struct Roots {
        // ~/Applications, ~/AppImages and ~/.local/bin.
        std::optional<QStringList> appImageFolders;
        // ~/.local/share/applications: the user's desktop entries.
        std::optional<QString> userDesktopEntries;
        // ~/.local/share/flatpak.
        std::optional<QString> flatpakUser;
        QString flatpakSystem = QStringLiteral("/var/lib/flatpak");
        // ~/.var/app: what Flatpak applications keep of the user's.
        std::optional<QString> flatpakAppData;
        QString dpkgDatabase = QStringLiteral("/var/lib/dpkg");
        // Where the absolute paths of the package lists are found ("/" on the machine).
        QString packageFilesRoot = QStringLiteral("/");
    };

    LinuxApplications() = default;
    explicit LinuxApplications(Roots roots);

    // AppImages, then the system's Flatpak applications, the user's, then the
    // Debian desktop applications, each form in its own order (not sorted).
    // Sizes only when asked for: the file, the application's folder in its
    // installation, the package's Installed-Size. Measuring stops once
    // `isCancelled` answers true.
    QList<InstalledApp> installedApps(bool includeSizes, const std::function<bool()>& isCancelled = {}) const;

    // What an application of these forms leaves behind, exactly: an AppImage
    // the user's desktop entries that launch it; a Flatpak application its
    // folder of ~/.var/app. Only locations that exist and that the safety
    // guard lets go. Nothing for a Debian package or a bundle.
    QStringList leftovers(const InstalledApp& app) const;

    QStringList appImageFolders() const;
    QString userDesktopEntries() const;
    QString flatpakUser() const;
    QString flatpakAppData() const;
    const Roots& roots() const { return roots_; }

private:
    void appendAppImages(QList<InstalledApp>& apps, bool includeSizes, const std::function<bool()>& isCancelled) const;
    void appendFlatpaks(QList<InstalledApp>& apps, const QString& installation, bool isSystem, bool includeSizes,
                        const std::function<bool()>& isCancelled) const;
    void appendDebianApps(QList<InstalledApp>& apps, bool includeSizes) const;

    Roots roots_;
};

} // namespace harborlite
