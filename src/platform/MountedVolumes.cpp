#include "platform/MountedVolumes.h"

#include "platform/UserId.h"
#include "shared/FileSystem.h"

#include <QFile>

#include <algorithm>
#include <pwd.h>

namespace harborlite::platform {

namespace {

// The kernel writes blank, tab, newline and backslash in a mount point as \ooo.
QByteArray decodeOctalEscapes(const QByteArray& field)
{
    QByteArray result;
    result.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](qsizetype at) {
            return at < field.size() && field[at] >= '0' && field[at] <= '7';
        };
        if (field[i] == '\\' && isOctal(i + 1) && isOctal(i + 2) && isOctal(i + 3)) {
            result.append(char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3)
                               | (field[i + 3] - '0')));
            i += 3;
        } else {
            result.append(field[i]);
        }
    }
    return result;
}

QString userName(uid_t uid)
{
    passwd entry {};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr
        && found->pw_name != nullptr) {
        return QFile::decodeName(found->pw_name);
    }
    return {};
}

} // namespace

QStringList mountPointsFromMountInfo(const QByteArray& mountInfo)
{
    QStringList result;
    for (const QByteArray& line : mountInfo.split('\n')) {
        // id parent major:minor root mount-point options ...
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 5 || !fields[4].startsWith('/')) {
            continue;
        }
        const QString point = FS::path(QFile::decodeName(decodeOctalEscapes(fields[4])));
        if (!result.contains(point)) {
            result.append(point);
        }
    }
    return result;
}

QList<MountedVolume> volumesAmong(const QStringList& mountPoints, const QString& userName)
{
    QStringList roots{QStringLiteral("/media"), QStringLiteral("/mnt")};
    if (!userName.isEmpty() && !userName.contains(QLatin1Char('/'))) {
        roots.append(QStringLiteral("/run/media/") + userName);
    }
    QList<MountedVolume> result;
    for (const QString& point : mountPoints) {
        const bool underRoot = std::any_of(roots.begin(), roots.end(), [&](const QString& root) {
            return FS::isBelow(point, root);
        });
        if (underRoot && !std::any_of(result.begin(), result.end(),
                                      [&](const MountedVolume& v) { return v.mountPoint == point; })) {
            result.append({FS::lastPathComponent(point), point});
        }
    }
    std::sort(result.begin(), result.end(), [](const MountedVolume& a, const MountedVolume& b) {
        return a.name != b.name ? a.name < b.name : a.mountPoint < b.mountPoint;
    });
    return result;
}

Seam<QStringList>& mountPoints()
{
    static Seam<QStringList> seam([] {
        QFile table(QStringLiteral("/proc/self/mountinfo"));
        // A proc file reports size 0, so read it to the end rather than by size.
        if (!table.open(QIODevice::ReadOnly)) {
            return QStringList{QStringLiteral("/")};
        }
        QStringList points = mountPointsFromMountInfo(table.readAll());
        if (points.isEmpty()) {
            points.append(QStringLiteral("/"));
        }
        return points;
    });
    return seam;
}

Seam<QList<MountedVolume>>& mountedVolumes()
{
    static Seam<QList<MountedVolume>> seam(
        [] { return volumesAmong(mountPoints().get(), userName(userId().get())); });
    return seam;
}

} // namespace harborlite::platform
