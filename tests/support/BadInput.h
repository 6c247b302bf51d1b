#pragma once

#include <QByteArray>
#include <QString>

// Input other programs may leave where the scanners look.
namespace harborlite::test {

// A binary property list whose top-level array holds itself.
QByteArray cyclicBinaryList();

// Writes a file whose name is the raw bytes given (not necessarily UTF-8)
// inside an existing folder; false on failure.
bool writeRawName(const QString& folder, const QByteArray& name, const QByteArray& content);

// The raw bytes of a name that is not valid UTF-8.
QByteArray invalidUtf8Name(const QByteArray& prefix, const QByteArray& suffix);

} // namespace harborlite::test
