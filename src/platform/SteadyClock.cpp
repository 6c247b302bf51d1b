#include "platform/SteadyClock.h"

namespace harborlite::platform {

Seam<std::chrono::steady_clock::time_point>& steadyClock()
{
    static Seam<std::chrono::steady_clock::time_point> seam([] { return std::chrono::steady_clock::now(); });
    return seam;
}

} // namespace harborlite::platform
