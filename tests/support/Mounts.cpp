#include "support/Mounts.h"

#include <sys/sysmacros.h>

namespace harborlite::test {

QList<platform::MountEntry> mountsAt(const QStringList& points)
{
    QList<platform::MountEntry> entries;
    for (const QString& point : points) {
        entries.append({point, QStringLiteral("ext4"), makedev(254, unsigned(entries.size()))});
    }
    return entries;
}

} // namespace harborlite::test
