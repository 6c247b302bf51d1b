#include "platform/KernelRoots.h"

namespace harborlite::platform {

Seam<QString>& procRoot()
{
    static Seam<QString> seam([] { return QStringLiteral("/proc"); });
    return seam;
}

Seam<QString>& sysRoot()
{
    static Seam<QString> seam([] { return QStringLiteral("/sys"); });
    return seam;
}

} // namespace harborlite::platform
