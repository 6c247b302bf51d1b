#pragma once

#include "platform/ToolTable.h"

#include <QString>
#include <QStringList>

namespace harborlite::platform {

// A shell command line run with administrator rights through polkit's pkexec:
// the system shows its own password dialog, and this process never sees the
// password. The command line runs as "<shell> -c <command line>" as root.
//
// pkexec reports a dismissed dialog as exit status 126 and a refusal (not
// authorised, no authentication agent, the shell could not be started) as 127.
// The command's own 126 and 127 (not executable, not found) are turned into 125
// before pkexec passes them on, so the two can never be confused.
struct ElevatedCommand {
    enum class Outcome {
        succeeded,
        dismissed,
        refused,
        failed,
    };

    QString program;
    QStringList arguments;

    // The pkexec invocation for the command line, which is passed as one
    // argument, unchanged: nothing in it needs escaping.
    static ElevatedCommand make(const ToolTable& table, const QString& commandLine);

    // What pkexec's exit status says happened.
    static Outcome outcome(int status);

    // Whether a refusal came before any password prompt could be shown: pkexec
    // could not reach polkit, or no authentication agent runs in the session.
    static bool hadNoPrompt(const QString& standardError);
};

} // namespace harborlite::platform
