#pragma once

#include <QtGlobal>

#include <optional>
#include <string_view>

// Readers of the kernel's counter files, each taking the file's text. They
// never trust it: a missing field, a number too large for 64 bits or text of
// another shape gives no value rather than a wrong one, and a last line
// without a line feed counts like any other.
namespace harborlite::platform {

// Processor time of all processors together from /proc/stat, in clock ticks.
// Interrupt time counts as system time and waiting for input as idle time.
struct ProcessorTicks {
    quint64 user = 0;
    quint64 system = 0;
    quint64 idle = 0;
    quint64 nice = 0;

    bool operator==(const ProcessorTicks&) const = default;
};

// The "cpu" line of /proc/stat; none when it is missing or has fewer than the
// four oldest fields (user, nice, system, idle). Later fields that are missing
// count as 0.
std::optional<ProcessorTicks> parseProcessorTicks(std::string_view text);

// Byte counts from /proc/meminfo; each absent when its line is missing.
struct MemoryInfo {
    std::optional<quint64> total;
    // MemAvailable, or on kernels before 3.14 MemFree + Buffers + Cached.
    std::optional<quint64> available;
    std::optional<quint64> swapTotal;
    std::optional<quint64> swapFree;
};

MemoryInfo parseMemoryInfo(std::string_view text);

// The share (0...1) of the last ten seconds in which some task waited for
// memory: the "some avg10" value of /proc/pressure/memory.
std::optional<double> parseMemoryStall(std::string_view text);

// Byte totals of the network interfaces that `counts` accepts, from
// /proc/net/dev (64-bit counters).
struct LinkBytes {
    quint64 received = 0;
    quint64 sent = 0;
};

using InterfaceFilter = bool (*)(std::string_view name);

// None when the text holds no interface line at all.
std::optional<LinkBytes> parseLinkBytes(std::string_view text, InterfaceFilter counts);

// Seconds since the system started: the first number of /proc/uptime.
std::optional<double> parseUptime(std::string_view text);

// Helpers shared by the readers above and by the process table.
namespace kerneltext {

// The next line of `text` (without its line feed), consumed from the front.
std::string_view nextLine(std::string_view& text);
// The next word separated by blanks or tabs, consumed from the front; empty at the end.
std::string_view nextWord(std::string_view& text);
std::optional<quint64> toUnsigned(std::string_view word);
std::optional<double> toDouble(std::string_view word);

} // namespace kerneltext

} // namespace harborlite::platform
