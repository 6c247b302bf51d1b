#pragma once

#include <QByteArray>
#include <QString>

#include <string_view>

// Pure operations on path text; nothing here touches the disk. Paths are
// absolute QStrings; the file-system layer re-exports these as FS::path and
// friends.
namespace harborlite::platform {

// A file name is any bytes but "/" and NUL, not necessarily UTF-8. pathText
// reads them as UTF-8 and keeps each byte that is not part of valid UTF-8 as a
// lone low surrogate U+DC80..U+DCFF (which valid UTF-8 never decodes to);
// pathBytes turns such surrogates back into their bytes. So pathBytes of
// pathText gives back exactly the bytes read, and a path read from the disk
// names the same file when given back to the kernel. QFile::encodeName would
// write U+FFFD instead, naming another file. Every system call on a path that
// a walk or a listing produced takes pathBytes.
QString pathText(std::string_view bytes);
inline QString pathText(const QByteArray& bytes)
{
    return pathText(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}
QByteArray pathBytes(const QString& text);

// The path with trailing "/" characters removed while it is at least two
// characters long; "/" stays "/". Nothing else is changed.
QString path(const QString& location);

// Appends a relative path to a folder without doubling the separator.
QString join(const QString& folder, const QString& relative);

// The last path component ("/" for the root, "" for an empty path).
QString lastPathComponent(const QString& location);

// The folder holding the location ("/" for a child of the root).
QString parentPath(const QString& location);

// Whether `location` is `root` itself or lies below it (root followed by "/").
bool isBelow(const QString& location, const QString& root);

} // namespace harborlite::platform
