#pragma once

#include "platform/Seam.h"

#include <chrono>

namespace harborlite::platform {

// A clock that only moves forward, for measuring intervals (rates per second).
// Tests set the moment of each reading.
Seam<std::chrono::steady_clock::time_point>& steadyClock();

} // namespace harborlite::platform
