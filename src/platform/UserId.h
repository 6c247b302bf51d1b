#pragma once

#include "platform/Seam.h"

#include <sys/types.h>

namespace harborlite::platform {

// The real user id of this process (getuid). Tests substitute another id.
Seam<uid_t>& userId();

} // namespace harborlite::platform
