#include "platform/Trash.h"

#include "platform/Clock.h"
#include "platform/ErrorDescription.h"
#include "platform/MountTable.h"
#include "platform/UserId.h"
#include "platform/XdgDataHome.h"
#include "platform/PathText.h"

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

// The location with the folders above it resolved, the item itself (perhaps a
// link) left as it is.
QString itemPath(const QString& location)
{
    const QString trimmed = path(location);
    if (trimmed == QLatin1String("/")) {
        return trimmed;
    }
    return join(resolvedPath(parentPath(trimmed)), lastPathComponent(trimmed));
}

bool makeFolders(const QString& folder)
{
    struct stat st {};
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
    struct stat st {};
    return lstatPath(folder, st) && S_ISDIR(st.st_mode) && st.st_uid == uid;
}

bool isRealFolder(const QString& folder)
{
    struct stat st {};
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
    return prepareFolder(can) && isOwnedFolder(can, uid)
        && prepareFolder(join(can, QStringLiteral("files")))
        && prepareFolder(join(can, QStringLiteral("info"))) && isUsableCan(can, uid);
}

bool hasStickySharedTrash(const QString& top)
{
    struct stat st {};
    return lstatPath(join(top, QStringLiteral(".Trash")), st) && S_ISDIR(st.st_mode)
        && (st.st_mode & S_ISVTX) != 0;
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

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += n;
    }
    return true;
}

// rename() that never replaces an existing entry of the can.
int renameNoReplace(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return -1;
    }
    // File systems without the flag: check, then rename.
    struct stat st {};
    if (::lstat(to.constData(), &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from.constData(), to.constData());
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

// The mount point holding the location.
QString topFolderOf(const QString& location)
{
    const QString item = itemPath(location);
    QString best = QStringLiteral("/");
    for (const QString& point : mountPoints()) {
        if (point.size() > best.size() && isBelow(item, point)) {
            best = point;
        }
    }
    return best;
}

// Moves the item into the trash can, writing `originalPath` into its info file.
MoveResult moveInto(const QString& location, const QString& trashCan, const QString& originalPath)
{
    const QString item = path(location);
    const QByteArray from = encoded(item);
    const QByteArray name = encoded(lastPathComponent(item));
    const QByteArray files = encoded(join(trashCan, QStringLiteral("files")));
    const QByteArray info = encoded(join(trashCan, QStringLiteral("info")));
    const QByteArray content = "[Trash Info]\nPath=" + encoded(originalPath).toPercentEncoding("/")
        + "\nDeletionDate="
        + now().toLocalTime().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")).toLatin1() + '\n';

    constexpr int attempts = 10000;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        const QByteArray candidate = candidateName(name, attempt);
        const QByteArray target = files + '/' + candidate;
        struct stat st {};
        if (::lstat(target.constData(), &st) == 0) {
            continue;
        }
        // Reserving the info file first claims the name against other programs.
        const QByteArray infoFile = info + '/' + candidate + ".trashinfo";
        const int fd = ::open(infoFile.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
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
            ::unlink(infoFile.constData());
            return failedWithError(item, error);
        }
        if (renameNoReplace(from, target) == 0) {
            return {pathText(target), std::nullopt};
        }
        const int error = errno;
        ::unlink(infoFile.constData());
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
    const QString item = path(location);
    const QString name = lastPathComponent(item);
    if (!item.startsWith(QLatin1Char('/')) || item == QLatin1String("/") || name == QLatin1String(".")
        || name == QLatin1String("..")) {
        return failed(item, QCoreApplication::translate("Trash", "Not a location that can be moved."));
    }
    struct stat st {};
    if (!lstatPath(item, st)) {
        return failedWithError(item, errno);
    }
    const QString real = itemPath(item);
    const QString top = topFolderOf(real);
    if (real == top) {
        return failed(item, QCoreApplication::translate("Trash", "Refusing to remove an entire volume."));
    }
    const QString home = homeTrash();
    QString can;
    QString original;
    if (top == topFolderOf(resolvedPath(home))) {
        if (!makeFolders(join(home, QStringLiteral("files")))
            || !makeFolders(join(home, QStringLiteral("info")))) {
            return failed(item, QCoreApplication::translate("Trash", "The Trash folder could not be created."));
        }
        can = home;
        original = real;
    } else {
        const std::optional<QString> volumeCan = volumeTrashForMoving(top);
        if (!volumeCan) {
            return failed(item, QCoreApplication::translate("Trash", "The volume has no Trash folder you may use."));
        }
        can = *volumeCan;
        original = real.mid(top == QLatin1String("/") ? 1 : top.size() + 1);
    }
    if (isBelow(resolvedPath(can), real)) {
        return failed(item, QCoreApplication::translate("Trash", "It holds the Trash itself."));
    }
    return moveInto(item, can, original);
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
    return join(can, QStringLiteral("info/") + lastPathComponent(entry)
                             + QStringLiteral(".trashinfo"));
}

bool isInsideTrash(const QString& location)
{
    for (QString folder = parentPath(path(location));
         !folder.isEmpty() && folder != QLatin1String("/"); folder = parentPath(folder)) {
        if (lastPathComponent(folder) == QLatin1String("files") && isTrashCan(parentPath(folder))) {
            return true;
        }
    }
    return false;
}

} // namespace harborlite::platform::Trash
