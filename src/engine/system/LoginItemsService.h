#pragma once

#include "engine/models/StartupItem.h"
#include "platform/ToolTable.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace harborlite {

// Lists and switches what third parties start at login or at boot: the
// launchd property lists of the three launch folders (switched with
// launchctl), the XDG autostart entries of the user's and the system's
// autostart folders (switched by the user's own copy of the entry), and the
// systemd services the user or an administrator installed: the user's units
// (switched with systemctl --user) and the system's units that are files of
// their own in /etc/systemd/system, not links to a package's (switched with
// systemctl as administrator). Units that packages ship are never listed.
// It keeps nothing between calls.
class LoginItemsService {
public:
    struct Locations {
        QString userAgents;
        QString globalAgents;
        QString daemons;
        // The user's autostart folder, which overrides the system's entry of
        // the same file name.
        QString userAutostart;
        QString systemAutostart;
        // The user's systemd units, and the administrator's.
        QString userUnits;
        QString systemUnits;
        // The session's desktop environments, for OnlyShowIn and NotShowIn.
        QStringList desktops;

        // The machine's: the user's Library and /Library launch folders,
        // <config>/autostart and /etc/xdg/autostart, <config>/systemd/user
        // and /etc/systemd/system.
        static Locations standard();
    };

    explicit LoginItemsService(Locations locations = Locations::standard(), platform::ToolTable tools = {});

    // Every item, ordered by label as a file browser orders names. Blocks
    // while launchctl runs. Never fails: unreadable, malformed or oversized
    // files, links in place of files, and missing folders or tools add nothing.
    QList<StartupItem> items() const;

    // Switches the item on or off; load the list again to see the effect.
    // Throws ShellRunner::RunError: the runner's errors for launchctl and
    // systemctl (the administrator prompt's cancellation included),
    // launchFailed with the tool's error text when the user's own launchctl
    // or systemctl run fails, commandFailed when the user's autostart copy
    // cannot be written.
    void setEnabled(bool enabled, const StartupItem& item) const;

private:
    QSet<QString> disabledLabels() const;
    void appendLaunchdItems(QList<StartupItem>& items) const;
    void appendAutostartItems(QList<StartupItem>& items) const;
    void appendSystemdItems(QList<StartupItem>& items) const;
    void switchLaunchd(bool enabled, const StartupItem& item) const;
    void switchAutostart(bool enabled, const StartupItem& item) const;
    void switchSystemd(bool enabled, const StartupItem& item) const;

    Locations locations_;
    platform::ToolTable tools_;
};

} // namespace harborlite
