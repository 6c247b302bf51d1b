#pragma once

#include <QString>

#include <optional>

namespace harborlite {

// One process of the process list, identified by its pid.
struct RunningProcess {
    qint32 pid = 0;
    // The running application's name when the process is one, else the
    // kernel's command name of the process, or its program's name where the
    // kernel cut that short (platform::processName).
    QString name;
    // Processor use in percent over the moments just before the list was made;
    // one fully busy core is 100, so a process on several cores can exceed it.
    double cpu = 0;
    // Resident memory in bytes.
    qint64 memory = 0;
    bool isApplication = false;
    std::optional<QString> bundleID;
    // The kernel's start time of the process, which tells it from a later
    // process given the same pid.
    quint64 startTime = 0;

    bool operator==(const RunningProcess&) const = default;
};

} // namespace harborlite
