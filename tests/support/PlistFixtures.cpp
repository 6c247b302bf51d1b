#include "support/PlistFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>

namespace harborlite::test {

QByteArray xmlList(plist_t root)
{
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &bytes, &length);
    QByteArray result(bytes, qsizetype(length));
    plist_to_xml_free(bytes);
    plist_free(root);
    return result;
}

QByteArray binaryList(plist_t root)
{
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    QByteArray result(bytes, qsizetype(length));
    plist_to_bin_free(bytes);
    plist_free(root);
    return result;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return false;
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool writeBundle(const QString& bundlePath, const QList<QPair<QString, QString>>& entries, bool binary)
{
    plist_t info = plist_new_dict();
    for (const auto& [key, value] : entries) {
        plist_dict_set_item(info, key.toUtf8().constData(), plist_new_string(value.toUtf8().constData()));
    }
    const QByteArray bytes = binary ? binaryList(info) : xmlList(info);
    return writeFile(bundlePath + QStringLiteral("/Contents/Info.plist"), bytes);
}

} // namespace harborlite::test
