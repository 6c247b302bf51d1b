#pragma once

namespace harborlite::Permissions {

// True when at least one probe folder exists and every probe folder that exists
// can be listed; the first folder that cannot be listed ends the query. Touches
// the file system: call it off the GUI thread.
bool hasFullDiskAccess();

// Shows Harborlite's own program in the file manager so the user can grant it access.
void revealApp();

} // namespace harborlite::Permissions
