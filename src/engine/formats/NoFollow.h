#pragma once

#include <QByteArray>
#include <QString>

// Looking at and reading an entry without following a symbolic link, as every
// reader of a file the user's home may hold must.
namespace harborlite::NoFollow {

// What the entry itself is, a symbolic link never being followed.
enum class EntryType { missing, link, folder, file, other };
EntryType entryType(const QString& location);

// The bytes of a regular file read without following a symbolic link.
struct FileBytes {
    enum class Status { read, notAFile, tooLarge, unreadable };
    Status status = Status::unreadable;
    QByteArray bytes;
};
FileBytes readFile(const QString& location, qint64 maxBytes);

} // namespace harborlite::NoFollow
