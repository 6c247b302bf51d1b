#pragma once

#include <QString>

// Pure operations on path text; nothing here touches the disk. Paths are
// absolute QStrings; the file-system layer re-exports these as FS::path and
// friends.
namespace harborlite::platform {

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
