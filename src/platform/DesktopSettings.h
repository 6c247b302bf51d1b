#pragma once

#include "platform/ToolTable.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace harborlite::platform {

// A program to start, with its arguments.
struct LaunchCommand {
    QString program;
    QStringList arguments;

    bool operator==(const LaunchCommand&) const = default;
};

// What opens the desktop's own settings, Linux's nearest place to a system's
// privacy settings: the settings window of the desktop named in `desktops`
// ($XDG_CURRENT_DESKTOP: GNOME and its relatives, KDE, XFCE) when it is
// installed, else the file manager on the home folder (where a folder's
// permissions are changed) through xdg-open. None when nothing in the tool
// table can be started.
std::optional<LaunchCommand> desktopSettingsCommand(const ToolTable& tools, const QStringList& desktops,
                                                    const QString& home);

// Starts the command without waiting; false when it could not be started.
bool launch(const LaunchCommand& command);

} // namespace harborlite::platform
