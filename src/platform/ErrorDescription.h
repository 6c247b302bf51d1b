#pragma once

#include <QString>

namespace harborlite::platform {

// The description of a system error number shown as the reason of a failed
// removal: the C library's English text, never translated, so callers can look
// for words in it. Both EACCES and EPERM read with the word "Permission": the
// uninstaller retries with administrator rights when it finds that word.
QString errorDescription(int error);

} // namespace harborlite::platform
