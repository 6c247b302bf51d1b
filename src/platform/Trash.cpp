#include "platform/Trash.h"

#include "platform/Clock.h"
#include "platform/ErrorDescription.h"
#include "platform/FileReplacement.h"
#include "platform/HomeFolder.h"
#include "platform/MountTable.h"
#include "platform/PathText.h"
#include "platform/PlannedWay.h"
#include "platform/UserId.h"
#include "platform/XdgDataHome.h"

#include <QCoreApplication>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace harborlite::platform::Trash {

namespace {

constexpr qsizetype infoSuffixLength = 10; // ".trashinfo"

QByteArray encoded(const QString& location)
{
    return pathBytes(location);
}

bool lstatPath(const QString& location, struct stat& st)
{
    return ::lstat(encoded(location).constData(), &st) == 0;
}

MoveResult failed(const QString& location, const QString& why)
{
    return {{},
            QCoreApplication::translate("Trash", "Could not move \u201C%1\u201D to the Trash: %2")
                .arg(lastPathComponent(location), why)};
}

MoveResult failedWithError(const QString& location, int error)
{
    return failed(location, errorDescription(error));
}

// The location with every link resolved; a missing tail is appended as written.
QString resolvedPath(const QString& location)
{
    QString existing = path(location);
    QString tail;
    while (true) {
        if (char* real = ::realpath(encoded(existing).constData(), nullptr)) {
            const QString head = pathText(std::string_view(real));
            std::free(real);
            return tail.isEmpty() ? head : join(head, tail);
        }
        if (existing == QLatin1String("/") || existing.isEmpty()) {
            return path(location);
        }
        const QString name = lastPathComponent(existing);
        tail = tail.isEmpty() ? name : name + QLatin1Char('/') + tail;
        existing = parentPath(existing);
    }
}

bool makeFolders(const QString& folder)
{
    struct stat st { };
    if (::stat(encoded(folder).constData(), &st) == 0) {
        return S_ISDIR(st.st_mode);
    }
    if (folder == QLatin1String("/") || !makeFolders(parentPath(folder))) {
        return false;
    }
    return ::mkdir(encoded(folder).constData(), 0700) == 0 || errno == EEXIST;
}

// A folder of a volume can: a real folder (no link) of the user.
bool isOwnedFolder(const QString& folder, uid_t uid)
{
    struct stat st { };
    return lstatPath(folder, st) && S_ISDIR(st.st_mode) && st.st_uid == uid;
}

bool isRealFolder(const QString& folder)
{
    struct stat st { };
    return lstatPath(folder, st) && S_ISDIR(st.st_mode);
}

bool isUsableCan(const QString& can, uid_t uid)
{
    return isOwnedFolder(can, uid) && isRealFolder(join(can, QStringLiteral("files")))
        && isRealFolder(join(can, QStringLiteral("info")));
}

bool prepareFolder(const QString& folder)
{
    if (::mkdir(encoded(folder).constData(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    return true;
}

bool prepareVolumeCan(const QString& can, uid_t uid)
{
    return prepareFolder(can) && isOwnedFolder(can, uid) && prepareFolder(join(can, QStringLiteral("files")))
        && prepareFolder(join(can, QStringLiteral("info"))) && isUsableCan(can, uid);
}

bool hasStickySharedTrash(const QString& top)
{
    struct stat st { };
    return lstatPath(join(top, QStringLiteral(".Trash")), st) && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX) != 0;
}

QString uidText()
{
    return QString::number(userId().get());
}

bool isTrashCan(const QString& can)
{
    if (can == path(homeTrash())) {
        return true;
    }
    const QStringList points = mountPoints();
    const QString name = lastPathComponent(can);
    const QString parent = parentPath(can);
    if (name == QStringLiteral(".Trash-") + uidText()) {
        return points.contains(parent);
    }
    return name == uidText() && lastPathComponent(parent) == QLatin1String(".Trash")
        && points.contains(parentPath(parent));
}

// The name the item gets in the can: "name" for the first try, "name.N" after;
// cut at a character boundary when its info file's name would be too long.
QByteArray candidateName(const QByteArray& name, int attempt)
{
    const QByteArray suffix = attempt == 1 ? QByteArray() : '.' + QByteArray::number(attempt);
    QByteArray base = name;
    const qsizetype room = NAME_MAX - infoSuffixLength - suffix.size();
    if (base.size() > room) {
        qsizetype cut = room;
        while (cut > 0 && (uchar(base[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        base.truncate(cut);
    }
    return base + suffix;
}

// renameat() that never replaces an existing entry of the can.
int renameNoReplace(int fromFolder, const QByteArray& from, int toFolder, const QByteArray& to)
{
    if (::renameat2(fromFolder, from.constData(), toFolder, to.constData(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return -1;
    }
    // File systems without the flag: check, then rename.
    struct stat st { };
    if (::fstatat(toFolder, to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::renameat(fromFolder, from.constData(), toFolder, to.constData());
}

// The trash can for items on the volume mounted at `top`, created when missing.
std::optional<QString> volumeTrashForMoving(const QString& top)
{
    const uid_t uid = userId().get();
    if (hasStickySharedTrash(top)) {
        const QString can = join(top, QStringLiteral(".Trash/") + uidText());
        if (prepareVolumeCan(can, uid)) {
            return can;
        }
    }
    const QString own = join(top, QStringLiteral(".Trash-") + uidText());
    if (prepareVolumeCan(own, uid)) {
        return own;
    }
    return std::nullopt;
}

// The mount point holding the location, whose folders are already resolved.
QString topFolderOf(const QString& real)
{
    QString best = QStringLiteral("/");
    for (const QString& point : mountPoints()) {
        if (point.size() > best.size() && isBelow(real, point)) {
            best = point;
        }
    }
    return best;
}

// Where the open folder really is.
std::optional<QString> folderPath(int folder)
{
    char buffer[PATH_MAX + 1];
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(folder);
    const ssize_t n = ::readlink(link.constData(), buffer, sizeof buffer - 1);
    if (n <= 0 || buffer[0] != '/') {
        return std::nullopt;
    }
    return pathText(std::string_view(buffer, std::size_t(n)));
}

// Opens one folder of a trash can, never through a link.
FileDescriptor openCanFolder(int can, const char* name)
{
    FileDescriptor fd(::openat(can, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st { };
    if (fd.isOpen() && (::fstat(fd.get(), &st) != 0 || !S_ISDIR(st.st_mode))) {
        fd.reset();
        errno = ENOTDIR;
    }
    return fd;
}

// Moves the item `name` of the open folder `parent` into the trash can,
// writing `originalPath` into its info file.
MoveResult moveInto(const QString& item, int parent, const QByteArray& name, const QString& trashCan,
                    const QString& originalPath)
{
    const FileDescriptor can(::open(encoded(trashCan).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!can.isOpen()) {
        return failedWithError(item, errno);
    }
    const FileDescriptor files = openCanFolder(can.get(), "files");
    const FileDescriptor info = openCanFolder(can.get(), "info");
    if (!files.isOpen() || !info.isOpen()) {
        return failedWithError(item, errno);
    }
    const QByteArray content = "[Trash Info]\nPath=" + encoded(originalPath).toPercentEncoding("/")
        + "\nDeletionDate=" + now().toLocalTime().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")).toLatin1() + '\n';

    constexpr int attempts = 10000;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        const QByteArray candidate = candidateName(name, attempt);
        struct stat st { };
        if (::fstatat(files.get(), candidate.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
            continue;
        }
        // Reserving the info file first claims the name against other programs.
        const QByteArray infoFile = candidate + ".trashinfo";
        const int fd =
            ::openat(info.get(), infoFile.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return failedWithError(item, errno);
        }
        const bool written = writeAll(fd, content);
        const int writeError = errno;
        if (::close(fd) != 0 || !written) {
            const int error = written ? errno : writeError;
            ::unlinkat(info.get(), infoFile.constData(), 0);
            return failedWithError(item, error);
        }
        if (renameNoReplace(parent, name, files.get(), candidate) == 0) {
            return {join(trashCan, QStringLiteral("files/") + pathText(candidate)), std::nullopt};
        }
        const int error = errno;
        ::unlinkat(info.get(), infoFile.constData(), 0);
        if (error != EEXIST) {
            return failedWithError(item, error);
        }
    }
    return failed(item, QCoreApplication::translate("Trash", "The Trash holds too many items of that name."));
}

} // namespace

QString homeTrash()
{
    return join(xdgDataHome().get(), QStringLiteral("Trash"));
}

QStringList volumeTrashes(const QString& top)
{
    const uid_t uid = userId().get();
    QStringList result;
    if (hasStickySharedTrash(top)) {
        const QString can = join(top, QStringLiteral(".Trash/") + uidText());
        if (isUsableCan(can, uid)) {
            result.append(can);
        }
    }
    const QString own = join(top, QStringLiteral(".Trash-") + uidText());
    if (isUsableCan(own, uid)) {
        result.append(own);
    }
    return result;
}

MoveResult moveToTrash(const QString& location)
{
    const PlannedWay way(homeFolder().get());
    const PlannedWay::Parent parent = way.openParent(location);
    if (parent.changed()) {
        return failed(path(location), locationChangedText());
    }
    if (!parent.folder.isOpen()) {
        return parent.error == EINVAL
            ? failed(path(location), QCoreApplication::translate("Trash", "Not a location that can be moved."))
            : failedWithError(path(location), parent.error);
    }
    return moveToTrash(location, parent.folder.get());
}

MoveResult moveToTrash(const QString& location, int parentFolder)
{
    const QString item = path(location);
    const QString name = lastPathComponent(item);
    if (!item.startsWith(QLatin1Char('/')) || item == QLatin1String("/") || name == QLatin1String(".")
        || name == QLatin1String("..")) {
        return failed(item, QCoreApplication::translate("Trash", "Not a location that can be moved."));
    }
    const QByteArray entry = encoded(name);
    struct stat st { };
    if (::fstatat(parentFolder, entry.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        return failedWithError(item, errno);
    }
    const std::optional<QString> folder = folderPath(parentFolder);
    if (!folder) {
        return failedWithError(item, errno);
    }
    const QString real = join(*folder, name);
    const QString top = topFolderOf(real);
    if (real == top) {
        return failed(item, QCoreApplication::translate("Trash", "Refusing to remove an entire volume."));
    }
    const QString home = homeTrash();
    QString can;
    QString original;
    if (top == topFolderOf(resolvedPath(home))) {
        if (!makeFolders(join(home, QStringLiteral("files"))) || !makeFolders(join(home, QStringLiteral("info")))) {
            return failed(item, QCoreApplication::translate("Trash", "The Trash folder could not be created."));
        }
        can = home;
        original = item;
    } else {
        const std::optional<QString> volumeCan = volumeTrashForMoving(top);
        if (!volumeCan) {
            return failed(item, QCoreApplication::translate("Trash", "The volume has no Trash folder you may use."));
        }
        can = *volumeCan;
        const QString planned = isBelow(item, top) ? item : real;
        original = planned.mid(top == QLatin1String("/") ? 1 : top.size() + 1);
    }
    if (isBelow(resolvedPath(can), real)) {
        return failed(item, QCoreApplication::translate("Trash", "It holds the Trash itself."));
    }
    return moveInto(item, parentFolder, entry, can, original);
}

std::optional<QString> infoFileOf(const QString& location)
{
    const QString entry = path(location);
    const QString files = parentPath(entry);
    if (lastPathComponent(files) != QLatin1String("files")) {
        return std::nullopt;
    }
    const QString can = parentPath(files);
    if (!isTrashCan(can)) {
        return std::nullopt;
    }
    return join(can, QStringLiteral("info/") + lastPathComponent(entry) + QStringLiteral(".trashinfo"));
}

bool isInsideTrash(const QString& location)
{
    for (QString folder = parentPath(path(location)); !folder.isEmpty() && folder != QLatin1String("/");
         folder = parentPath(folder)) {
        if (lastPathComponent(folder) == QLatin1String("files") && isTrashCan(parentPath(folder))) {
            return true;
        }
    }
    return false;
}

} // namespace harborlite::platform::Trash
