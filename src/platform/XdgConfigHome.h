#pragma once

#include "platform/Seam.h"

#include <QString>
#include <QStringList>

namespace harborlite::platform {

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute
// path, else ".config" inside the home folder. Holds the autostart entries.
// While a test substitutes the home folder, always ".config" inside that home.
Seam<QString>& xdgConfigHome();

// The desktop environments of this session, from $XDG_CURRENT_DESKTOP
// (colon-separated, for example "ubuntu:GNOME"); empty outside a desktop.
Seam<QStringList>& currentDesktops();

} // namespace harborlite::platform
