#pragma once

#include <QString>

namespace harborlite::platform {

// The absolute path of every program the system starts, in one place. The
// defaults are the machine's layout; tools that this system does not ship are
// simply absent, and each caller takes its own missing-tool path. Tests
// substitute scripts of their own.
struct ToolTable {
    QString ps = QStringLiteral("/bin/ps");
    QString tmutil = QStringLiteral("/usr/bin/tmutil");
    QString diskutil = QStringLiteral("/usr/sbin/diskutil");
    QString lsregister = QStringLiteral("/System/Library/Frameworks/CoreServices.framework/Frameworks/"
                                        "LaunchServices.framework/Support/lsregister");
    QString sqlite3 = QStringLiteral("/usr/bin/sqlite3");
    QString launchctl = QStringLiteral("/bin/launchctl");
    QString pkgutil = QStringLiteral("/usr/sbin/pkgutil");
    QString purge = QStringLiteral("/usr/sbin/purge");
    QString dscacheutil = QStringLiteral("/usr/bin/dscacheutil");
    QString killall = QStringLiteral("/usr/bin/killall");
    QString mdutil = QStringLiteral("/usr/bin/mdutil");
    QString rm = QStringLiteral("/bin/rm");
    // Asks the user for administrator rights through the system's own prompt.
    QString pkexec = QStringLiteral("/usr/bin/pkexec");
    // Runs the command lines that need administrator rights.
    QString shell = QStringLiteral("/bin/sh");
    // Opens a location (a folder, a web page) with the desktop's default handler.
    QString xdgOpen = QStringLiteral("/usr/bin/xdg-open");
    // Linux's own tools for the maintenance tasks and launch items.
    QString systemctl = QStringLiteral("/usr/bin/systemctl");
    QString resolvectl = QStringLiteral("/usr/bin/resolvectl");
    QString updateDesktopDatabase = QStringLiteral("/usr/bin/update-desktop-database");
    QString sync = QStringLiteral("/bin/sync");
    // Removes Flatpak applications; it asks for administrator rights itself.
    QString flatpak = QStringLiteral("/usr/bin/flatpak");
    // The desktops' own settings windows (GNOME, KDE Plasma, Xfce).
    QString gnomeControlCenter = QStringLiteral("/usr/bin/gnome-control-center");
    QString plasmaSystemSettings = QStringLiteral("/usr/bin/systemsettings");
    QString xfceSettingsManager = QStringLiteral("/usr/bin/xfce4-settings-manager");
};

// Whether the path names a regular file (following symbolic links) that this
// process may execute. Ask it about the table's paths, so that a test's
// substitute tools answer in place of the machine's.
bool isExecutableFile(const QString& path);

} // namespace harborlite::platform
