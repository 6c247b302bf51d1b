#pragma once

#include "platform/Seam.h"

#include <QString>

namespace harborlite::platform {

// The user's home folder: $HOME when it is an absolute path, else the password
// database entry of the real user id. Read once; tests override it.
Seam<QString>& homeFolder();

} // namespace harborlite::platform
