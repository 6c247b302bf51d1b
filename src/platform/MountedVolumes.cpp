#include "platform/MountedVolumes.h"

#include "platform/MountTable.h"
#include "platform/PathText.h"
#include "platform/UserId.h"

#include <QFile>

#include <algorithm>
#include <pwd.h>

namespace harborlite::platform {

namespace {

QString userName(uid_t uid)
{
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr
        && found->pw_name != nullptr) {
        return QFile::decodeName(found->pw_name);
    }
    return {};
}

} // namespace

QList<MountedVolume> volumesAmong(const QStringList& mountPoints, const QString& userName)
{
    QStringList roots{QStringLiteral("/media"), QStringLiteral("/mnt")};
    if (!userName.isEmpty() && !userName.contains(QLatin1Char('/'))) {
        roots.append(QStringLiteral("/run/media/") + userName);
    }
    QList<MountedVolume> result;
    for (const QString& point : mountPoints) {
        const bool underRoot =
            std::any_of(roots.begin(), roots.end(), [&](const QString& root) { return isBelow(point, root); });
        if (underRoot && !std::any_of(result.begin(), result.end(), [&](const MountedVolume& v) {
                return v.mountPoint == point;
            })) {
            result.append({lastPathComponent(point), point});
        }
    }
    std::sort(result.begin(), result.end(), [](const MountedVolume& a, const MountedVolume& b) {
        return a.name != b.name ? a.name < b.name : a.mountPoint < b.mountPoint;
    });
    return result;
}

Seam<QList<MountedVolume>>& mountedVolumes()
{
    static Seam<QList<MountedVolume>> seam([] { return volumesAmong(mountPoints(), userName(userId().get())); });
    return seam;
}

} // namespace harborlite::platform
