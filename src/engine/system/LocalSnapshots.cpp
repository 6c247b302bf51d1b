#include "engine/system/LocalSnapshots.h"

#include "engine/commands/ShellRunner.h"

#include <algorithm>

namespace harborlite {

namespace {

constexpr double listLimit = 15;

} // namespace

int LocalSnapshots::snapshotCount(const QString& volume, const platform::ToolTable& tools)
{
    if (!platform::isExecutableFile(tools.tmutil)) {
        return 0;
    }
    try {
        const ShellRunner::Output output =
            ShellRunner::run(tools.tmutil, {QStringLiteral("listlocalsnapshots"), volume}, listLimit);
        if (output.status != 0) {
            return 0;
        }
        const QStringList lines = ShellRunner::lines(output.standardOutput);
        return int(std::count_if(lines.begin(), lines.end(), [](const QString& line) {
            return line.contains(QLatin1String("com.apple.TimeMachine"));
        }));
    } catch (const ShellRunner::RunError&) {
        return 0;
    }
}

qint64 LocalSnapshots::purgeable(const QString&)
{
    return 0;
}

} // namespace harborlite
