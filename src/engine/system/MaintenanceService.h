#pragma once

#include "engine/models/MaintenanceResult.h"
#include "engine/models/MaintenanceTask.h"
#include "platform/ToolTable.h"

#include <QList>
#include <QString>

namespace harborlite {

// The eight maintenance tasks and the running of one of them. Where Linux has
// a tool as safe as the task's own, the tool table maps the task to it and the
// task really runs: freeing memory syncs and drops the page cache, flushing
// the name cache asks systemd-resolved, and rebuilding the file-type database
// refreshes the user's own applications folder. The other tasks name tools
// this system does not ship and end in the missing-tool error.
class MaintenanceService {
public:
    // How long, in seconds, each tool run directly may take before it is
    // stopped and its task fails.
    struct Limits {
        double launchServices = 120;
        double mail = 120;
        double verify = 300;
    };

    explicit MaintenanceService(platform::ToolTable tools = {});
    MaintenanceService(platform::ToolTable tools, Limits limits);

    // The eight tasks in their fixed order, each naming the tool of this table.
    QList<MaintenanceTask> tasks() const;

    // Whether the task's required tool is an executable file.
    static bool isAvailable(const MaintenanceTask& task);
    // Why an unavailable task cannot run, naming the tool it lacks; the
    // screen's card and the tray's menu show it.
    static QString missingToolReason(const MaintenanceTask& task);

    // Runs the task on the calling thread (up to five minutes, or as long as
    // the administrator prompt is up) and returns its sentence for the user;
    // compacting Mail with no Mail database found changed nothing.
    // Throws ShellRunner::RunError: toolMissing when the required tool is not
    // there (before anything runs), launchFailed for an unknown identifier,
    // and whatever the command runner throws, unchanged.
    MaintenanceResult run(const MaintenanceTask& task) const;

private:
    MaintenanceResult compactMailIndex() const;

    platform::ToolTable tools_;
    Limits limits_;
};

} // namespace harborlite
