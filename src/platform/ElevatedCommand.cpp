#include "platform/ElevatedCommand.h"

namespace harborlite::platform {

namespace {

constexpr int dismissedStatus = 126;
constexpr int refusedStatus = 127;

// Runs "$1 -c $2" and keeps its status out of the two values pkexec uses for
// itself. The shell and the command line arrive as positional parameters, so
// neither is ever parsed as part of this script.
const QString wrapper = QStringLiteral("\"$1\" -c \"$2\"; status=$?; "
                                       "if [ \"$status\" -eq 126 ] || [ \"$status\" -eq 127 ]; then exit 125; fi; "
                                       "exit \"$status\"");

} // namespace

ElevatedCommand ElevatedCommand::make(const ToolTable& table, const QString& commandLine)
{
    // Without a graphical agent pkexec would otherwise ask on the terminal this
    // process happened to inherit, where nobody may be looking.
    return {table.pkexec,
            {QStringLiteral("--disable-internal-agent"), table.shell, QStringLiteral("-c"), wrapper,
             QStringLiteral("sh"), table.shell, commandLine}};
}

ElevatedCommand::Outcome ElevatedCommand::outcome(int status)
{
    switch (status) {
    case 0:
        return Outcome::succeeded;
    case dismissedStatus:
        return Outcome::dismissed;
    case refusedStatus:
        return Outcome::refused;
    default:
        return Outcome::failed;
    }
}

bool ElevatedCommand::hadNoPrompt(const QString& standardError)
{
    // pkexec's own messages, which it never translates.
    return standardError.contains(QLatin1String("Error getting authority"))
        || standardError.contains(QLatin1String("No authentication agent found"));
}

} // namespace harborlite::platform
