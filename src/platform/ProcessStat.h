#pragma once

#include <QString>

#include <optional>
#include <string_view>
#include <sys/types.h>

namespace harborlite::platform {

// The fields of /proc/<pid>/stat that the process list and the quit requests use.
struct ProcessStat {
    // The command name (field 2) without its parentheses, at most 15 bytes; a
    // view into the text that was parsed.
    std::string_view command;
    char state = 0;
    // Processor time in clock ticks, user and system mode (fields 14 and 15).
    quint64 userTicks = 0;
    quint64 systemTicks = 0;
    // When the process started, in clock ticks after boot (field 22). Together
    // with the pid it names one process: a recycled pid has another start time.
    quint64 startTime = 0;
    // Resident set size in pages (field 24).
    quint64 residentPages = 0;
};

// None when the text is not a stat line. The command name may hold blanks and
// parentheses, so the fields after it are counted from the last ")".
std::optional<ProcessStat> parseProcessStat(std::string_view text);

// The start time of the process with the pid under the proc root; 0 when it
// has gone or is a zombie, so that no signal is ever sent on a stale answer.
quint64 processStartTime(const QString& procRoot, pid_t pid);

// The real user id of the process ("Uid:" of its status file); none when it
// has gone or the file says nothing readable.
std::optional<uid_t> processOwner(const QString& procRoot, pid_t pid);

} // namespace harborlite::platform
