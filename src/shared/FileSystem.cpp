#include "shared/FileSystem.h"

#include "platform/FileDescriptor.h"
#include "platform/HomeFolder.h"
#include "platform/PathText.h"
#include "shared/FolderListing.h"
#include "shared/TreeWalker.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace harborlite::FS {

namespace {

QByteArray encoded(const QString& location)
{
    return platform::pathBytes(location);
}

// Works for both timespec and statx_timestamp.
template <typename Timestamp>
QDateTime dateOf(const Timestamp& ts)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000, Qt::UTC);
}

bool lstatPath(const QString& location, struct stat& st)
{
    if (location.isEmpty()) {
        return false;
    }
    return ::lstat(encoded(location).constData(), &st) == 0;
}

} // namespace

QString home()
{
    return path(platform::homeFolder().get());
}

QString library()
{
    return join(home(), QStringLiteral("Library"));
}

QString homePath()
{
    return home();
}

qint64 size(const QString& location, const SizeOptions& options)
{
    // A package holds only the regular files below it, so measuring it apart and
    // skipping its descendants gives the same total as walking straight through:
    // options.descendIntoPackages changes nothing.
    // "link/" would make the kernel follow the link: the item is measured as named.
    return TreeWalker(options.isCancelled).total(encoded(path(location)));
}

qint64 allocatedSize(const QString& location)
{
    struct stat st { };
    if (!lstatPath(location, st)) {
        return 0;
    }
    return qint64(st.st_blocks) * 512;
}

bool exists(const QString& location)
{
    struct stat st { };
    return lstatPath(location, st);
}

bool isDirectory(const QString& location)
{
    struct stat st { };
    return !location.isEmpty() && ::stat(encoded(location).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

QStringList children(const QString& folder, const ChildrenOptions& options)
{
    QStringList result;
    if (folder.isEmpty()) {
        return result;
    }
    // Unlike a walk, the listing follows a link given as the folder itself.
    const platform::FileDescriptor fd(::open(encoded(folder).constData(), FolderListing::kOpenFlags & ~O_NOFOLLOW));
    if (!fd.isOpen()) {
        return result;
    }
    FolderListing listing;
    listing.reset(fd.get());
    std::vector<QByteArray> names;
    while (const struct dirent64* entry = listing.next()) {
        if (!options.includingHidden && entry->d_name[0] == '.') {
            continue;
        }
        names.emplace_back(entry->d_name);
    }
    // Byte order puts every upper-case ASCII letter before every lower-case one.
    std::sort(names.begin(), names.end());
    const QString base = path(folder);
    result.reserve(qsizetype(names.size()));
    for (const QByteArray& name : names) {
        result.append(join(base, platform::pathText(name)));
    }
    return result;
}

std::optional<QDateTime> modificationDate(const QString& location)
{
    struct stat st { };
    if (!lstatPath(location, st)) {
        return std::nullopt;
    }
    return dateOf(st.st_mtim);
}

std::optional<QDateTime> lastAccessDate(const QString& location)
{
    struct statx stx { };
    if (location.isEmpty()
        || ::statx(AT_FDCWD, encoded(location).constData(), AT_SYMLINK_NOFOLLOW, STATX_ATIME | STATX_MTIME, &stx)
            != 0) {
        return std::nullopt;
    }
    if (stx.stx_mask & STATX_ATIME) {
        return dateOf(stx.stx_atime);
    }
    if (stx.stx_mask & STATX_MTIME) {
        return dateOf(stx.stx_mtime);
    }
    return std::nullopt;
}

VolumeCapacity volumeCapacity(const QString& location)
{
    struct statvfs vfs { };
    if (location.isEmpty() || ::statvfs(encoded(location).constData(), &vfs) != 0) {
        return {};
    }
    return {qint64(vfs.f_bavail) * qint64(vfs.f_frsize), qint64(vfs.f_blocks) * qint64(vfs.f_frsize)};
}

QString abbreviatingHome(const QString& location)
{
    const QString homeText = homePath();
    if (homeText.isEmpty() || homeText == QLatin1String("/")) {
        return location;
    }
    return isBelow(location, homeText) ? QLatin1Char('~') + location.mid(homeText.size()) : location;
}

} // namespace harborlite::FS
