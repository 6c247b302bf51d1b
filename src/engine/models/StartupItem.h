#pragma once

#include "engine/models/CodeSignature.h"

#include <QString>

#include <array>
#include <optional>

namespace harborlite {

// One program started at login or at boot: a launchd property list, an XDG
// autostart entry or a systemd service of the user's or the administrator's.
struct StartupItem {
    // Where the item lives; the raw values are also the display titles.
    enum class Scope {
        // The user's own: launch agents of the user's Library, autostart
        // entries only the user's folder has, the user's systemd units.
        userAgent,
        // Shared by all users: /Library/LaunchAgents, /etc/xdg/autostart.
        globalAgent,
        // Started for the system: /Library/LaunchDaemons, the units of
        // /etc/systemd/system.
        daemon,
    };
    // What starts it, and so how it is switched.
    enum class Source {
        launchd,
        autostart,
        systemd,
    };

    QString label;
    // The program, or the item's file name when it names no program.
    QString programDescription;
    // The item's file (the system's entry for a shared autostart entry); for a
    // systemd service without a unit file found, the unit's name.
    QString url;
    Scope scope = Scope::userAgent;
    bool isEnabled = true;
    // The program is named but nothing is there to start.
    bool isOrphaned = false;
    CodeSignature signature;
    // The application bundle holding the program, without ".app".
    std::optional<QString> owningAppName;
    bool runsAtLoad = false;
    bool keepsAlive = false;
    Source source = Source::launchd;

    QString id() const { return url; }

    // Whether switching it asks for an administrator's password: the shared
    // launchd items and the administrator's units. An autostart entry is
    // switched by the user's own copy, never with a password.
    bool needsAdministrator() const;

    bool operator==(const StartupItem&) const = default;
};

namespace StartupScopes {
inline constexpr std::array<StartupItem::Scope, 3> allCases = {
    StartupItem::Scope::userAgent, StartupItem::Scope::globalAgent, StartupItem::Scope::daemon};
}

// "Login item", "Launch agent" or "Launch daemon".
QString rawValue(StartupItem::Scope scope);
std::optional<StartupItem::Scope> startupScopeFromRawValue(const QString& raw);

} // namespace harborlite
