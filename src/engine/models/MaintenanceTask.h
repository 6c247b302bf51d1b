#pragma once

#include <QString>

namespace harborlite {

// One maintenance task as the maintenance screen shows it.
struct MaintenanceTask {
    // Stable identifier; MaintenanceService::run dispatches on it.
    QString id;
    QString title;
    QString detail;
    // System symbol name of the card's icon.
    QString symbol;
    bool needsAdministrator = false;
    // How long it usually takes, as shown to the user.
    QString estimate;
    // The tool that must be an executable file for the task to run.
    QString requiredTool;

    bool operator==(const MaintenanceTask&) const = default;
};

} // namespace harborlite
