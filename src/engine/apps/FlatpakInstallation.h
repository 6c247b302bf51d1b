#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace harborlite {

// One Flatpak installation folder (the system's /var/lib/flatpak, the user's
// ~/.local/share/flatpak), read as files: nothing here runs flatpak. Links the
// installation keeps ("current", "active") are read, never followed, and only
// accepted when they name a place inside the application's own folder.
class FlatpakInstallation {
public:
    // One deployed application.
    struct App {
        QString id;
        // <installation>/app/<id>: everything deployed for the application.
        QString folder;
        // The deployment of the current branch's active commit.
        QString deployment;
    };

    explicit FlatpakInstallation(QString root);

    const QString& root() const { return root_; }

    // Flatpak's own rule for application ids: at most 255 characters, at least
    // three dot-separated elements of ASCII letters, digits, "_" and "-" (a
    // "-" only in the last element), none empty or starting with a digit.
    static bool isValidAppId(const QString& id);

    // The applications of the installation in byte order of their ids; a
    // folder whose id is not valid, or whose current deployment cannot be
    // found inside it, is left out.
    QList<App> apps() const;

    // The exported desktop entry of the deployment: <deployment>/export/share/applications/<id>.desktop.
    static QString desktopEntry(const App& app);
    // The version of its newest release in the deployment's metainfo; none when
    // there is no readable metainfo or it names no release.
    static std::optional<QString> version(const App& app);
    // The file of the icon the desktop entry names, among the deployment's
    // exported icons (scalable first, then the largest); none when not found.
    static std::optional<QString> iconFile(const App& app, const QString& iconName);

private:
    QString root_;
};

} // namespace harborlite
