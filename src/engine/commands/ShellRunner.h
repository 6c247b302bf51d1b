#pragma once

#include "platform/ToolTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <exception>

// The one way the system starts other programs: a tool run directly with a time
// limit, or a shell command line run with administrator rights behind the
// system's own password prompt. Both block the calling thread, keep no state
// and may run on several threads at once.
namespace harborlite::ShellRunner {

// What one command produced.
struct Output {
    // Exit status, or the signal number when a signal ended the child, or -1
    // when the system could not say. Always 0 for a successful runPrivileged.
    std::int32_t status = 0;
    // Both streams decoded as UTF-8; ill-formed sequences become U+FFFD and
    // nothing is trimmed. stderr is always empty for runPrivileged.
    QString standardOutput;
    QString standardError;
};

// The system's own error type. Its description is user-facing text.
class RunError : public std::exception {
public:
    enum class Kind {
        authorizationFailed,
        commandFailed,
        toolMissing,
        launchFailed,
        cancelled,
    };

    static RunError authorizationFailed(const QString& message);
    static RunError commandFailed(const QString& message);
    static RunError toolMissing(const QString& path);
    static RunError launchFailed(const QString& reason);
    static RunError cancelled();

    Kind kind() const { return kind_; }
    // The message, path or reason the error carries; empty for cancelled.
    const QString& detail() const { return detail_; }

    // "Administrator authorisation failed: <message>", "<message>",
    // "This version of macOS does not include <path>.",
    // "Could not start the task: <reason>" or "Cancelled.".
    QString errorDescription() const;
    const char* what() const noexcept override;

    bool operator==(const RunError& other) const { return kind_ == other.kind_ && detail_ == other.detail_; }

private:
    RunError(Kind kind, const QString& detail);

    Kind kind_;
    QString detail_;
    QByteArray what_;
};

// Starts the executable at the absolute path directly (no shell), each
// argument passed unchanged. Standard input, environment and working folder
// are inherited. Both output streams are read while the child runs, so a
// child can never stall on a full pipe.
//
// When the time limit (seconds; infinity for none) passes while the child
// still runs, its process group is asked to terminate (SIGTERM) and, if it has
// not ended two seconds later, killed (SIGKILL); the call then returns what was
// written until then with the status the system reports. Once the child has
// ended, output still held open by a descendant is not waited for.
//
// A non-zero status is not an error. Throws RunError::launchFailed only, when
// the process cannot be started (a missing or non-executable file, no free
// descriptors); its reason names the path and the system's explanation.
Output run(const QString& path, const QStringList& arguments, double timeout);

// Runs one shell command line, written as at a shell prompt, as administrator
// after the system's own password prompt (platform::ElevatedCommand). Waits as
// long as the prompt is up; there is no time limit.
//
// Returns status 0, the command's standard output and an empty stderr. Throws
// cancelled when the prompt is dismissed, authorizationFailed when the rights
// are refused or cannot be asked for, commandFailed with the command's error
// text (or "The task did not complete.") when it exits non-zero, and
// launchFailed when the prompt tool cannot be started.
Output runPrivileged(const QString& commandLine, const platform::ToolTable& tools = {});

// Tool output split at line feeds, empty pieces dropped.
QStringList lines(const QString& output);

} // namespace harborlite::ShellRunner
