#pragma once

#include <QString>

#include <string_view>
#include <sys/types.h>

namespace harborlite::platform {

// The name to show for a process whose kernel command name (the bytes of
// /proc/<pid>/comm or the stat line's field 2) is `command`. The kernel keeps
// only the first 15 bytes, so a name of that length may be cut: then the
// program's file name (/proc/<pid>/exe) or the first word of its command line
// is taken, when it begins with those bytes; a name renamed by the process
// itself, a kernel thread or a process gone keeps `command`.
QString processName(const QString& procRoot, pid_t pid, std::string_view command);

} // namespace harborlite::platform
