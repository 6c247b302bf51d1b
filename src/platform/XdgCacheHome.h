#pragma once

#include "platform/Seam.h"

#include <QString>

namespace harborlite::platform {

// The user's cache folder: $XDG_CACHE_HOME when it is an absolute path, else
// ".cache" inside the home folder as it stands when asked.
Seam<QString>& xdgCacheHome();

} // namespace harborlite::platform
