#include "platform/ProcessStat.h"

#include "platform/KernelCounters.h"
#include "platform/KernelFile.h"

#include <limits>

namespace harborlite::platform {

using namespace kerneltext;

std::optional<ProcessStat> parseProcessStat(std::string_view text)
{
    const std::size_t open = text.find('(');
    const std::size_t close = text.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
        return std::nullopt;
    }
    ProcessStat stat;
    stat.command = text.substr(open + 1, close - open - 1);
    text.remove_prefix(close + 1);
    std::string_view rest = nextLine(text);
    // Field 3 onwards; field n is at index n - 3.
    for (int index = 0; index <= 21; ++index) {
        const std::string_view word = nextWord(rest);
        if (word.empty()) {
            return std::nullopt;
        }
        if (index == 0) {
            stat.state = word.front();
            continue;
        }
        if (index != 11 && index != 12 && index != 19 && index != 21) {
            continue;
        }
        const std::optional<quint64> value = toUnsigned(word);
        if (!value) {
            return std::nullopt;
        }
        (index == 11       ? stat.userTicks
             : index == 12 ? stat.systemTicks
             : index == 19 ? stat.startTime
                           : stat.residentPages) = *value;
    }
    return stat;
}

quint64 processStartTime(const QString& procRoot, pid_t pid)
{
    const QByteArray text =
        readKernelFile(procRoot + QLatin1Char('/') + QString::number(pid) + QStringLiteral("/stat"));
    const std::optional<ProcessStat> stat = parseProcessStat({text.constData(), std::size_t(text.size())});
    return stat && stat->state != 'Z' ? stat->startTime : 0;
}

std::optional<uid_t> processOwner(const QString& procRoot, pid_t pid)
{
    const QByteArray text =
        readKernelFile(procRoot + QLatin1Char('/') + QString::number(pid) + QStringLiteral("/status"));
    std::string_view rest(text.constData(), std::size_t(text.size()));
    while (!rest.empty()) {
        std::string_view line = nextLine(rest);
        if (line.substr(0, 4) != "Uid:") {
            continue;
        }
        line.remove_prefix(4);
        const std::optional<quint64> uid = toUnsigned(nextWord(line));
        if (!uid || *uid > quint64(std::numeric_limits<uid_t>::max())) {
            return std::nullopt;
        }
        return uid_t(*uid);
    }
    return std::nullopt;
}

} // namespace harborlite::platform
