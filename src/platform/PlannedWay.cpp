#include "platform/PlannedWay.h"

#include "platform/PathText.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>

namespace harborlite::platform {

namespace {

constexpr int folderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;

// Opens one step below `folder`, never through a link: a link met there is ELOOP.
FileDescriptor openStep(int folder, const QByteArray& name)
{
    FileDescriptor fd(::openat(folder, name.constData(), folderFlags | O_NOFOLLOW));
    if (!fd.isOpen()) {
        const int error = errno;
        struct stat st { };
        errno =
            ::fstatat(folder, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode) ? ELOOP : error;
        return fd;
    }
    struct stat st { };
    if (::fstat(fd.get(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        fd.reset();
        errno = ENOTDIR;
    }
    return fd;
}

FileDescriptor openStepByStep(int start, const QByteArray& relative)
{
    FileDescriptor current(::fcntl(start, F_DUPFD_CLOEXEC, 0));
    for (const QByteArray& name : relative.split('/')) {
        if (!current.isOpen()) {
            break;
        }
        if (name.isEmpty() || name == ".") {
            continue;
        }
        FileDescriptor next = openStep(current.get(), name);
        const int error = errno;
        current = std::move(next);
        errno = error;
    }
    return current;
}

// -1 with ENOSYS where the kernel has no openat2 (EPERM under some filters).
int openWithKernel(int start, const QByteArray& relative)
{
    open_how how{};
    how.flags = folderFlags;
    how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    const QByteArray way = relative.isEmpty() ? QByteArray(".") : relative;
    while (true) {
        const long fd = ::syscall(SYS_openat2, start, way.constData(), &how, sizeof how);
        if (fd >= 0 || (errno != EAGAIN && errno != EINTR)) {
            return int(fd);
        }
    }
}

bool namesParent(const QString& location)
{
    for (const QStringView part : QStringView(location).split(QLatin1Char('/'))) {
        if (part == QLatin1String("..")) {
            return true;
        }
    }
    return false;
}

} // namespace

PlannedWay::PlannedWay(const QString& home, Steps steps)
    : home_(path(home))
    , root_(::open("/", folderFlags))
    , homeFolder_(home_.startsWith(QLatin1Char('/')) ? ::open(pathBytes(home_).constData(), folderFlags) : -1)
    , steps_(steps)
{
}

FileDescriptor PlannedWay::openBeneath(int start, const QByteArray& relative) const
{
    if (steps_ == Steps::kernel) {
        const int fd = openWithKernel(start, relative);
        // A sandbox's system-call filter may answer EPERM rather than ENOSYS for
        // a call it does not know; opening a folder by path never does.
        if (fd >= 0 || (errno != ENOSYS && errno != EPERM)) {
            return FileDescriptor(fd);
        }
    }
    return openStepByStep(start, relative);
}

PlannedWay::Parent PlannedWay::openParent(const QString& location) const
{
    Parent result;
    const QString item = path(location);
    const QString name = lastPathComponent(item);
    if (!item.startsWith(QLatin1Char('/')) || item == QLatin1String("/") || name == QLatin1String(".")
        || namesParent(item)) {
        result.error = EINVAL;
        return result;
    }
    result.name = pathBytes(name);
    const QString parent = parentPath(item);
    const bool belowHome = homeFolder_.isOpen() && home_ != QLatin1String("/") && isBelow(parent, home_);
    const int start = belowHome ? homeFolder_.get() : root_.get();
    const QString relative = belowHome ? parent.mid(home_.size() + 1) : parent.mid(1);
    if (start < 0) {
        result.error = EBADF;
        return result;
    }
    result.folder = openBeneath(start, pathBytes(relative));
    if (!result.folder.isOpen()) {
        result.error = errno;
    }
    return result;
}

QString locationChangedText()
{
    return QCoreApplication::translate("PlannedWay", "The location changed since the scan");
}

} // namespace harborlite::platform
