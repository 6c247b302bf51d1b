#include "platform/Clock.h"

namespace harborlite::platform {

Seam<QDateTime>& clock()
{
    static Seam<QDateTime> seam([] { return QDateTime::currentDateTimeUtc(); });
    return seam;
}

} // namespace harborlite::platform
