#pragma once

#include "platform/Seam.h"

#include <QString>

namespace harborlite::platform {

// The user's data folder: $XDG_DATA_HOME when it is an absolute path, else
// ".local/share" inside the home folder. Holds the home Trash. While a test
// substitutes the home folder, always ".local/share" inside that home.
Seam<QString>& xdgDataHome();

} // namespace harborlite::platform
