#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <plist/plist.h>

namespace harborlite::test {

// Serialises a libplist tree in XML or binary form and frees the tree.
QByteArray xmlList(plist_t root);
QByteArray binaryList(plist_t root);

// Writes the bytes to the path, creating missing folders; false on failure.
bool writeFile(const QString& path, const QByteArray& bytes);

// Creates the bundle folder `bundlePath` with "Contents/Info.plist" holding the
// string entries, written in binary form when `binary` is true.
bool writeBundle(const QString& bundlePath, const QList<QPair<QString, QString>>& entries, bool binary = false);

} // namespace harborlite::test
