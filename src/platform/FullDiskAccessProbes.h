#pragma once

#include "platform/Seam.h"

#include <QStringList>

namespace harborlite::platform {

// Folders whose listing tells whether Harborlite may read the user's data, in
// the order they are tried. Linux has no all-files permission, so these are
// folders every desktop home has: the Trash, the configuration folder and the
// data folder. The access card then appears only when they really can't be read.
Seam<QStringList>& fullDiskAccessProbes();

} // namespace harborlite::platform
