#include "platform/UserId.h"

#include <unistd.h>

namespace harborlite::platform {

Seam<uid_t>& userId()
{
    static Seam<uid_t> seam([] { return getuid(); });
    return seam;
}

} // namespace harborlite::platform
