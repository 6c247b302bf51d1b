#pragma once

#include <QString>

namespace harborlite {

// One process of the process list, identified by its pid.
struct RunningProcess {
    qint32 pid = 0;
    QString name;
    // Processor use in percent; one fully busy core is 100.
    double cpu = 0;
    // Resident memory in bytes.
    qint64 memory = 0;
    bool isApplication = false;
    // Tells the process from a later one given the same pid.
    quint64 startTime = 0;

    bool operator==(const RunningProcess&) const = default;
};

} // namespace harborlite
