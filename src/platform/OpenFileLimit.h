#pragma once

namespace harborlite::platform {

// Raises the soft limit on open descriptors to the hard limit, so parallel
// walks and removals are not held to the desktop's usual 1024. false when
// the limit could not be read or changed.
bool raiseOpenFileLimit();

} // namespace harborlite::platform
