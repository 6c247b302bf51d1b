#include "platform/FullDiskAccessProbes.h"

#include "platform/HomeFolder.h"
#include "platform/XdgDataHome.h"

namespace harborlite::platform {

Seam<QStringList>& fullDiskAccessProbes()
{
    static Seam<QStringList> seam([] {
        const QString data = xdgDataHome().get();
        return QStringList{data + QStringLiteral("/Trash"), homeFolder().get() + QStringLiteral("/.config"), data};
    });
    return seam;
}

} // namespace harborlite::platform
