#include "platform/MountPoints.h"

#include <QFile>

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
            result.append(char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3)
                               | (field[i + 3] - '0')));
            i += 3;
        } else {
            result.append(field[i]);
        }
    }
    return result;
}

QStringList readMountPoints()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return parseMountInfo(file.readAll());
}

} // namespace

QStringList parseMountInfo(const QByteArray& text)
{
    QStringList result;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() > 4 && !fields[4].isEmpty()) {
            result.append(QFile::decodeName(unescaped(fields[4])));
        }
    }
    return result;
}

Seam<QStringList>& mountPoints()
{
    static Seam<QStringList> seam(readMountPoints);
    return seam;
}

} // namespace harborlite::platform
