#include "platform/MountTable.h"

#include "platform/PathText.h"

#include <QFile>

#include <sys/sysmacros.h>

namespace harborlite::platform {

namespace {

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

QByteArray unescaped(const QByteArray& field)
{
    QByteArray result;
    result.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        // The kernel escapes a byte as a backslash and three octal digits (\040, \134).
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3'
            && isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3])) {
            result.append(char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0')));
            i += 3;
        } else {
            result.append(field[i]);
        }
    }
    return result;
}

// "major:minor" as a device number.
std::optional<dev_t> deviceOf(const QByteArray& field)
{
    const qsizetype colon = field.indexOf(':');
    if (colon <= 0) {
        return std::nullopt;
    }
    bool majorOk = false;
    bool minorOk = false;
    const uint majorNumber = field.left(colon).toUInt(&majorOk);
    const uint minorNumber = field.mid(colon + 1).toUInt(&minorOk);
    if (!majorOk || !minorOk) {
        return std::nullopt;
    }
    return makedev(majorNumber, minorNumber);
}

QList<MountEntry> readMountTable()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return parseMountInfo(file.readAll());
}

} // namespace

QList<MountEntry> parseMountInfo(const QByteArray& text)
{
    // id parent major:minor root mount-point options [optional fields...] - type source super-options
    QList<MountEntry> result;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf("-", 6);
        if (separator < 0 || separator + 1 >= fields.size() || fields[4].isEmpty()) {
            continue;
        }
        const std::optional<dev_t> device = deviceOf(fields[2]);
        if (!device) {
            continue;
        }
        const QByteArray source = separator + 2 < fields.size() ? unescaped(fields[separator + 2]) : QByteArray();
        result.append(
            {pathText(unescaped(fields[4])), QString::fromUtf8(fields[separator + 1]), *device, pathText(source)});
    }
    return result;
}

Seam<QList<MountEntry>>& mountTable()
{
    static Seam<QList<MountEntry>> seam(readMountTable);
    return seam;
}

QStringList mountPoints()
{
    QStringList result;
    for (const MountEntry& entry : mountTable().get()) {
        result.append(entry.mountPoint);
    }
    return result;
}

bool isNetworkFileSystem(const QString& type)
{
    static const QStringList network = {
        QStringLiteral("nfs"),
        QStringLiteral("nfs4"),
        QStringLiteral("cifs"),
        QStringLiteral("smb3"),
        QStringLiteral("smbfs"),
        QStringLiteral("ncpfs"),
        QStringLiteral("afs"),
        QStringLiteral("ceph"),
        QStringLiteral("glusterfs"),
        QStringLiteral("9p"),
        QStringLiteral("lustre"),
        QStringLiteral("gpfs"),
        QStringLiteral("beegfs"),
        QStringLiteral("davfs"),
        QStringLiteral("coda"),
        QStringLiteral("fuse.sshfs"),
        QStringLiteral("fuse.rclone"),
        QStringLiteral("fuse.s3fs"),
        QStringLiteral("fuse.davfs"),
        QStringLiteral("fuse.curlftpfs"),
        QStringLiteral("fuse.glusterfs"),
        QStringLiteral("fuse.gvfsd-fuse"),
        QStringLiteral("fuse.cephfs"),
    };
    return network.contains(type);
}

QString fileSystemTypeOf(dev_t device)
{
    for (const MountEntry& entry : mountTable().get()) {
        if (entry.device == device) {
            return entry.fileSystemType;
        }
    }
    return {};
}

} // namespace harborlite::platform
