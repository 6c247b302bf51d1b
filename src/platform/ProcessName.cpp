#include "platform/ProcessName.h"

#include "platform/FileDescriptor.h"
#include "platform/PathText.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace harborlite::platform {

namespace {

// TASK_COMM_LEN less its terminating zero.
constexpr std::size_t commandLimit = 15;

std::string_view fileName(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The kernel marks a program replaced or removed since it started.
std::string_view withoutDeletedMark(std::string_view path)
{
    constexpr std::string_view mark = " (deleted)";
    return path.size() > mark.size() && path.substr(path.size() - mark.size()) == mark
        ? path.substr(0, path.size() - mark.size())
        : path;
}

bool continues(std::string_view candidate, std::string_view command)
{
    return candidate.size() > command.size() && candidate.substr(0, command.size()) == command;
}

QString text(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

} // namespace

QString processName(const QString& procRoot, pid_t pid, std::string_view command)
{
    if (command.size() != commandLimit) {
        return text(command);
    }
    const QByteArray folder = pathBytes(procRoot + QLatin1Char('/') + QString::number(pid));

    char target[4096];
    const ssize_t length = ::readlink((folder + "/exe").constData(), target, sizeof target);
    if (length > 0 && std::size_t(length) < sizeof target) {
        const std::string_view program = fileName(withoutDeletedMark({target, std::size_t(length)}));
        if (continues(program, command)) {
            return text(program);
        }
    }

    // Only the first word matters; a longer command line is cut.
    char line[4096];
    ssize_t count = 0;
    const FileDescriptor fd(::open((folder + "/cmdline").constData(), O_RDONLY | O_CLOEXEC));
    if (fd.isOpen()) {
        do {
            count = ::read(fd.get(), line, sizeof line);
        } while (count < 0 && errno == EINTR);
    }
    if (count > 0) {
        const std::string_view all(line, std::size_t(count));
        const std::string_view first = all.substr(0, all.find('\0'));
        // A program that rewrites its command line may put its words in one
        // string, blanks between them.
        for (const std::string_view word : {first, first.substr(0, first.find(' '))}) {
            const std::string_view name = fileName(word);
            if (continues(name, command)) {
                return text(name);
            }
        }
    }
    return text(command);
}

} // namespace harborlite::platform
