#include "platform/KernelCounters.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace harborlite::platform {

namespace kerneltext {

std::string_view nextLine(std::string_view& text)
{
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

std::string_view nextWord(std::string_view& text)
{
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        text = {};
        return {};
    }
    text.remove_prefix(start);
    const std::size_t end = text.find_first_of(" \t");
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end);
    return word;
}

std::optional<quint64> toUnsigned(std::string_view word)
{
    quint64 value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || error != std::errc() || end != word.data() + word.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> toDouble(std::string_view word)
{
    double value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || error != std::errc() || end != word.data() + word.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace kerneltext

using namespace kerneltext;

namespace {

quint64 saturatingSum(quint64 a, quint64 b)
{
    return a > std::numeric_limits<quint64>::max() - b ? std::numeric_limits<quint64>::max() : a + b;
}

// A meminfo value ("12345 kB") in bytes.
std::optional<quint64> kibibytes(std::string_view rest)
{
    const std::optional<quint64> value = toUnsigned(nextWord(rest));
    if (!value || *value > std::numeric_limits<quint64>::max() / 1024) {
        return std::nullopt;
    }
    return *value * 1024;
}

} // namespace

std::optional<ProcessorTicks> parseProcessorTicks(std::string_view text)
{
    while (!text.empty()) {
        std::string_view line = nextLine(text);
        if (nextWord(line) != "cpu") {
            continue;
        }
        // user nice system idle iowait irq softirq steal guest guest_nice
        quint64 fields[7] = {};
        for (int i = 0; i < 7; ++i) {
            const std::string_view word = nextWord(line);
            if (word.empty()) {
                if (i < 4) {
                    return std::nullopt;
                }
                break;
            }
            const std::optional<quint64> value = toUnsigned(word);
            if (!value) {
                return std::nullopt;
            }
            fields[i] = *value;
        }
        return ProcessorTicks{fields[0], saturatingSum(saturatingSum(fields[2], fields[5]), fields[6]),
                              saturatingSum(fields[3], fields[4]), fields[1]};
    }
    return std::nullopt;
}

MemoryInfo parseMemoryInfo(std::string_view text)
{
    MemoryInfo info;
    std::optional<quint64> free;
    std::optional<quint64> buffers;
    std::optional<quint64> cached;
    while (!text.empty()) {
        std::string_view line = nextLine(text);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        const std::string_view key = line.substr(0, colon);
        const std::optional<quint64> bytes = kibibytes(line.substr(colon + 1));
        if (key == "MemTotal") {
            info.total = bytes;
        } else if (key == "MemAvailable") {
            info.available = bytes;
        } else if (key == "MemFree") {
            free = bytes;
        } else if (key == "Buffers") {
            buffers = bytes;
        } else if (key == "Cached") {
            cached = bytes;
        } else if (key == "SwapTotal") {
            info.swapTotal = bytes;
        } else if (key == "SwapFree") {
            info.swapFree = bytes;
        }
    }
    if (!info.available && free) {
        info.available = saturatingSum(saturatingSum(*free, buffers.value_or(0)), cached.value_or(0));
    }
    return info;
}

std::optional<double> parseMemoryStall(std::string_view text)
{
    while (!text.empty()) {
        std::string_view line = nextLine(text);
        if (nextWord(line) != "some") {
            continue;
        }
        for (std::string_view word = nextWord(line); !word.empty(); word = nextWord(line)) {
            if (word.substr(0, 6) == "avg10=") {
                const std::optional<double> percent = toDouble(word.substr(6));
                if (!percent || !(*percent >= 0 && *percent <= 100)) {
                    return std::nullopt;
                }
                return *percent / 100;
            }
        }
    }
    return std::nullopt;
}

std::optional<LinkBytes> parseLinkBytes(std::string_view text, InterfaceFilter counts)
{
    std::optional<LinkBytes> totals;
    while (!text.empty()) {
        const std::string_view line = nextLine(text);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        std::string_view name = line.substr(0, colon);
        name = nextWord(name);
        std::string_view rest = line.substr(colon + 1);
        // Received bytes come first, sent bytes ninth.
        std::optional<quint64> received;
        std::optional<quint64> sent;
        for (int i = 0; i < 9; ++i) {
            const std::string_view word = nextWord(rest);
            if (i == 0) {
                received = toUnsigned(word);
            } else if (i == 8) {
                sent = toUnsigned(word);
            }
        }
        if (name.empty() || !received || !sent) {
            continue;
        }
        if (!totals) {
            totals = LinkBytes{};
        }
        if (counts(name)) {
            totals->received = saturatingSum(totals->received, *received);
            totals->sent = saturatingSum(totals->sent, *sent);
        }
    }
    return totals;
}

std::optional<double> parseUptime(std::string_view text)
{
    std::string_view line = nextLine(text);
    const std::optional<double> seconds = toDouble(nextWord(line));
    if (!seconds || !std::isfinite(*seconds) || *seconds < 0) {
        return std::nullopt;
    }
    return seconds;
}

} // namespace harborlite::platform
