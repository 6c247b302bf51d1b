#pragma once

#include "platform/PathText.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// File-system operations shared by every scanner and service. All of them are
// synchronous, never throw, and answer with a neutral value (0, an empty list,
// no date) when the file system cannot be read. Paths are absolute QStrings,
// written to the kernel with platform::pathBytes; symbolic links are never
// followed unless a function says otherwise.
namespace harborlite::FS {

using CancelPredicate = std::function<bool()>;

// The user's home folder (see platform::homeFolder) written with path().
QString home();
// home() + "/Library".
QString library();
// path(home()): the home folder without a trailing slash.
QString homePath();

// Pure path text, shared with the platform layer (see platform/PathText.h).
using platform::isBelow;
using platform::join;
using platform::lastPathComponent;
using platform::parentPath;
using platform::path;

struct SizeOptions {
    // Packages count the same whether or not they are descended into, so
    // this never changes the result.
    bool descendIntoPackages = false;
    // Polled before every entry; once it returns true the total counted so
    // far is returned.
    CancelPredicate isCancelled = {};
};

// Bytes the file or folder tree occupies on disk (allocated blocks). A folder
// counts the regular files below it; symbolic links add nothing and are never
// followed, a symbolic link given as `location` (with or without a trailing
// slash) counts only itself; a file with several hard links counts once. Pseudo file
// systems (proc, sysfs, devtmpfs, cgroup and the like) are not entered.
qint64 size(const QString& location, const SizeOptions& options = {});

// Allocated bytes of one item itself (not following a link); 0 when it cannot be read.
qint64 allocatedSize(const QString& location);

// Whether something exists at the location (a dangling link counts).
bool exists(const QString& location);
// Whether the location is a folder, following a symbolic link to one.
bool isDirectory(const QString& location);

struct ChildrenOptions {
    // Whether entries whose names begin with "." are listed.
    bool includingHidden = false;
};

// The folder's direct entries as full paths, sorted by name with plain byte
// comparison. A symbolic link given as `folder` lists the folder it points
// to; an unreadable folder gives an empty list, one whose reading fails
// midway the entries read until then. Names that are not UTF-8 keep their
// bytes (platform::pathText), so every path listed names its entry when
// handed back.
QStringList children(const QString& folder, const ChildrenOptions& options);

// Content modification date (UTC); absent when it cannot be read.
std::optional<QDateTime> modificationDate(const QString& location);

// Last access date, else the modification date; absent when neither is known.
std::optional<QDateTime> lastAccessDate(const QString& location);

struct VolumeCapacity {
    qint64 free = 0;
    qint64 total = 0;
};

// Free space available to the user and total size of the volume holding the
// location; both 0 when they cannot be read.
VolumeCapacity volumeCapacity(const QString& location);

// The path as shown to the user: a leading home folder (followed by "/" or the
// end) is written "~". Other occurrences of the home path stay as they are.
QString abbreviatingHome(const QString& location);

} // namespace harborlite::FS
