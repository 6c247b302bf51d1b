#pragma once

#include "platform/Seam.h"

#include <QDateTime>

namespace harborlite::platform {

// The wall clock in UTC. Tests pin it to a fixed moment.
Seam<QDateTime>& clock();

inline QDateTime now()
{
    return clock().get();
}

} // namespace harborlite::platform
