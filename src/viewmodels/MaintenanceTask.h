#pragma once

#include <QString>

namespace harborlite {

// One maintenance action; the model keeps only its identifier.
struct MaintenanceTask {
    QString id;
    QString title;
    QString detail;

    bool operator==(const MaintenanceTask&) const = default;
};

} // namespace harborlite
