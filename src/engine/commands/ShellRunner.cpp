#include "engine/commands/ShellRunner.h"

#include "platform/ElevatedCommand.h"
#include "platform/FileDescriptor.h"
#include "platform/PathText.h"
#include "platform/ToolTable.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace harborlite::ShellRunner {

namespace {

using Clock = std::chrono::steady_clock;
using platform::FileDescriptor;

// How long a child may take to honour the terminate request before it is killed.
constexpr auto gracePeriod = std::chrono::seconds(2);
// How often the child is checked for having ended when the kernel cannot say so.
constexpr int exitCheckMilliseconds = 50;
// Bytes read from one stream before the deadline is looked at again.
constexpr qsizetype readSlice = 1 << 20;
// Bytes still taken from a stream after the child has ended; a descendant that
// keeps writing must not keep the call going.
constexpr qsizetype finalDrainLimit = 1 << 20;
constexpr int statusUnknown = -1;

struct Pipe {
    FileDescriptor readEnd;
    FileDescriptor writeEnd;
};

std::optional<Pipe> makePipe(int& error)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = errno;
        return std::nullopt;
    }
    // Only the read end is ours; the child's end blocks as a pipe normally does.
    ::fcntl(fds[1], F_SETFL, ::fcntl(fds[1], F_GETFL) & ~O_NONBLOCK);
    return Pipe{FileDescriptor(fds[0]), FileDescriptor(fds[1])};
}

QString launchReason(const QString& path, int error)
{
    return path + QStringLiteral(": ") + qt_error_string(error);
}

struct Stream {
    FileDescriptor fd;
    QByteArray bytes;

    // Reads what is there, up to `limit` bytes; closes the stream at its end.
    void readAvailable(qsizetype limit)
    {
        char buffer[65536];
        qsizetype taken = 0;
        while (fd.isOpen() && taken < limit) {
            const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
            if (count > 0) {
                bytes.append(buffer, count);
                taken += count;
            } else if (count < 0 && errno == EINTR) {
                continue;
            } else if (count < 0 && errno == EAGAIN) {
                return;
            } else {
                fd.reset();
            }
        }
    }
};

// Reaps the child; false when `options` holds WNOHANG and it is still running.
bool reap(pid_t pid, int options, int& status)
{
    for (;;) {
        int waitStatus = 0;
        const pid_t result = ::waitpid(pid, &waitStatus, options);
        if (result == pid) {
            if (WIFEXITED(waitStatus)) {
                status = WEXITSTATUS(waitStatus);
            } else if (WIFSIGNALED(waitStatus)) {
                status = WTERMSIG(waitStatus);
            } else {
                status = statusUnknown;
            }
            return true;
        }
        if (result == 0) {
            return false;
        }
        if (errno != EINTR) {
            // Someone else reaped it (SIGCHLD ignored): it has ended, how is unknown.
            status = statusUnknown;
            return true;
        }
    }
}

// The child leads its own process group, so descendants that hold the pipes
// are reached too; the child itself is signalled in case it left the group.
void signalChild(pid_t pid, int signal)
{
    ::kill(-pid, signal);
    ::kill(pid, signal);
}

std::optional<Clock::time_point> deadlineAfter(double timeout)
{
    if (std::isinf(timeout) && timeout > 0) {
        return std::nullopt;
    }
    constexpr double longest = 365.0 * 24 * 3600;
    const double seconds = timeout > 0 ? std::min(timeout, longest) : 0.0;
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

int millisecondsUntil(Clock::time_point moment, Clock::time_point now)
{
    if (moment <= now) {
        return 0;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(moment - now).count();
    return static_cast<int>(std::min<decltype(wait)>(wait, INT_MAX));
}

// A descriptor that turns readable when the child ends, or -1 where the kernel
// has none. Called directly: this C library's header does not declare it for C++.
int openExitNotice(pid_t pid)
{
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

// UTF-8 with each ill-formed sequence (its maximal valid prefix, or one stray
// byte) replaced by one U+FFFD, as the Unicode standard recommends. Qt's own
// decoder gives a truncated sequence one replacement per byte.
QString decodeLossy(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        const unsigned char lead = data[i];
        if (lead < 0x80) {
            text.append(QChar(lead));
            ++i;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        }
        char32_t codePoint = length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
        qsizetype next = i + 1;
        for (int k = 1; k < length && next < size; ++k, ++next) {
            const unsigned char byte = data[next];
            if (byte < (k == 1 ? low : 0x80) || byte > (k == 1 ? high : 0xBF)) {
                break;
            }
            codePoint = (codePoint << 6) | (byte & 0x3F);
        }
        if (length == 0 || next - i < length) {
            text.append(QChar(QChar::ReplacementCharacter));
        } else if (QChar::requiresSurrogates(codePoint)) {
            text.append(QChar(QChar::highSurrogate(codePoint)));
            text.append(QChar(QChar::lowSurrogate(codePoint)));
        } else {
            text.append(QChar(static_cast<char16_t>(codePoint)));
        }
        i = next;
    }
    return text;
}

class SpawnSetup {
public:
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

} // namespace

RunError::RunError(Kind kind, const QString& detail)
    : kind_(kind)
    , detail_(detail)
    , what_(errorDescription().toUtf8())
{
}

RunError RunError::authorizationFailed(const QString& message)
{
    return {Kind::authorizationFailed, message};
}

RunError RunError::commandFailed(const QString& message)
{
    return {Kind::commandFailed, message};
}

RunError RunError::toolMissing(const QString& path)
{
    return {Kind::toolMissing, path};
}

RunError RunError::launchFailed(const QString& reason)
{
    return {Kind::launchFailed, reason};
}

RunError RunError::cancelled()
{
    return {Kind::cancelled, QString()};
}

QString RunError::errorDescription() const
{
    switch (kind_) {
    case Kind::authorizationFailed:
        return QCoreApplication::translate("ShellRunner", "Administrator authorisation failed: %1").arg(detail_);
    case Kind::commandFailed:
        return detail_;
    case Kind::toolMissing:
        return QCoreApplication::translate("ShellRunner", "This version of macOS does not include %1.").arg(detail_);
    case Kind::launchFailed:
        return QCoreApplication::translate("ShellRunner", "Could not start the task: %1").arg(detail_);
    case Kind::cancelled:
        return QCoreApplication::translate("ShellRunner", "Cancelled.");
    }
    return detail_;
}

const char* RunError::what() const noexcept
{
    return what_.constData();
}

Output run(const QString& path, const QStringList& arguments, double timeout)
{
    int error = 0;
    std::optional<Pipe> out = makePipe(error);
    std::optional<Pipe> err = out ? makePipe(error) : std::nullopt;
    if (!out || !err) {
        throw RunError::launchFailed(launchReason(path, error));
    }

    SpawnSetup setup;
    posix_spawn_file_actions_adddup2(&setup.actions, out->writeEnd.get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&setup.actions, err->writeEnd.get(), STDERR_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&setup.actions, STDERR_FILENO + 1);
    // Its own process group, so that the terminate request reaches whatever it
    // started; default signal handling and an empty mask whatever this thread has.
    sigset_t noSignals;
    sigset_t allSignals;
    sigemptyset(&noSignals);
    sigfillset(&allSignals);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&setup.attributes, 0);
    posix_spawnattr_setsigmask(&setup.attributes, &noSignals);
    posix_spawnattr_setsigdefault(&setup.attributes, &allSignals);

    const QByteArray program = platform::pathBytes(path);
    std::vector<QByteArray> encoded;
    encoded.reserve(static_cast<std::size_t>(arguments.size()) + 1);
    encoded.push_back(program);
    for (const QString& argument : arguments) {
        encoded.push_back(platform::pathBytes(argument));
    }
    std::vector<char*> argv;
    argv.reserve(encoded.size() + 1);
    for (QByteArray& argument : encoded) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    pid_t pid = 0;
    const auto deadline = deadlineAfter(timeout);
    error = posix_spawn(&pid, program.constData(), &setup.actions, &setup.attributes, argv.data(), environ);
    if (error != 0) {
        throw RunError::launchFailed(launchReason(path, error));
    }
    out->writeEnd.reset();
    err->writeEnd.reset();

    Stream streams[2] = {{std::move(out->readEnd), {}}, {std::move(err->readEnd), {}}};
    // Readable once the child has ended; without it the child is checked on a timer.
    FileDescriptor exitNotice(openExitNotice(pid));

    int status = statusUnknown;
    std::optional<Clock::time_point> killAt;
    for (;;) {
        if (reap(pid, WNOHANG, status)) {
            break;
        }
        const Clock::time_point now = Clock::now();
        if (!killAt && deadline && now >= *deadline) {
            signalChild(pid, SIGTERM);
            // A stopped child would hold the request until it is continued.
            signalChild(pid, SIGCONT);
            killAt = now + gracePeriod;
        }
        if (killAt && now >= *killAt) {
            signalChild(pid, SIGKILL);
            reap(pid, 0, status);
            break;
        }

        const std::optional<Clock::time_point> next = killAt ? killAt : deadline;
        int waitMilliseconds = next ? millisecondsUntil(*next, now) : -1;
        if (!exitNotice.isOpen()) {
            waitMilliseconds =
                waitMilliseconds < 0 ? exitCheckMilliseconds : std::min(waitMilliseconds, exitCheckMilliseconds);
        }
        pollfd watched[3];
        nfds_t count = 0;
        for (const Stream& stream : streams) {
            if (stream.fd.isOpen()) {
                watched[count++] = {stream.fd.get(), POLLIN, 0};
            }
        }
        if (exitNotice.isOpen()) {
            watched[count++] = {exitNotice.get(), POLLIN, 0};
        }
        if (::poll(watched, count, waitMilliseconds) > 0) {
            for (Stream& stream : streams) {
                stream.readAvailable(readSlice);
            }
        }
    }
    for (Stream& stream : streams) {
        stream.readAvailable(finalDrainLimit);
    }

    return {status, decodeLossy(streams[0].bytes), decodeLossy(streams[1].bytes)};
}

Output runPrivileged(const QString& commandLine, const platform::ToolTable& tools)
{
    const auto command = platform::ElevatedCommand::make(tools, commandLine);
    const Output result = run(command.program, command.arguments, std::numeric_limits<double>::infinity());
    const auto message = [&result] {
        const QString text = result.standardError.trimmed();
        return text.isEmpty() ? QCoreApplication::translate("ShellRunner", "The task did not complete.") : text;
    };
    switch (platform::ElevatedCommand::outcome(result.status)) {
    case platform::ElevatedCommand::Outcome::succeeded:
        return {0, result.standardOutput, QString()};
    case platform::ElevatedCommand::Outcome::dismissed:
        throw RunError::cancelled();
    case platform::ElevatedCommand::Outcome::refused:
        if (platform::ElevatedCommand::hadNoPrompt(result.standardError)) {
            throw RunError::authorizationFailed(QCoreApplication::translate(
                "ShellRunner", "No password prompt is available on this system, so nothing was changed."));
        }
        throw RunError::authorizationFailed(message());
    case platform::ElevatedCommand::Outcome::failed:
        break;
    }
    throw RunError::commandFailed(message());
}

QStringList lines(const QString& output)
{
    return output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace harborlite::ShellRunner
