#pragma once

#include "platform/Seam.h"

#include <QString>

namespace harborlite::platform {

// Where the kernel's process and device file systems are mounted ("/proc" and
// "/sys"). Tests point them at fixture trees.
Seam<QString>& procRoot();
Seam<QString>& sysRoot();

} // namespace harborlite::platform
