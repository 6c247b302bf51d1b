#pragma once

#include "shared/SystemSnapshot.h"

#include <QDateTime>

namespace harborlite {

// One timeline entry of both widgets: the moment it stands for and the sample
// taken then.
struct MonitorEntry {
    QDateTime date;
    SystemSnapshot snapshot;

    bool operator==(const MonitorEntry&) const = default;
};

} // namespace harborlite
