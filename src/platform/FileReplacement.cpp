#include "platform/FileReplacement.h"

#include "platform/PathText.h"
#include "platform/PlannedWay.h"

#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace harborlite::platform {

namespace {

QByteArray temporaryName(const QByteArray& name)
{
    quint64 random = 0;
    if (::getrandom(&random, sizeof random, 0) != sizeof random) {
        // The name is created exclusively anyway: a clash is a failure, never an overwrite.
        random = quint64(::getpid());
    }
    return '.' + name.left(200) + '.' + QByteArray::number(random, 36) + ".new";
}

} // namespace

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        done += n;
    }
    return true;
}

std::optional<int> replaceFile(const QString& folder, const QString& name, const QByteArray& bytes)
{
    if (!QDir().mkpath(folder)) {
        return errno != 0 ? errno : EACCES;
    }
    const FileDescriptor into(::open(pathBytes(folder).constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!into.isOpen()) {
        return errno == ENOTDIR ? ELOOP : errno;
    }
    const QByteArray entry = pathBytes(name);
    // A file replaced keeps its rights; a new one gets the usual ones under the umask.
    struct stat old { };
    const bool replacesFile =
        ::fstatat(into.get(), entry.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode);
    const mode_t mode = replacesFile ? old.st_mode & 0777 : 0644;
    const QByteArray temporary = temporaryName(entry);
    const int fd =
        ::openat(into.get(), temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) {
        return errno;
    }
    const bool written = writeAll(fd, bytes) && (!replacesFile || ::fchmod(fd, mode) == 0) && ::fsync(fd) == 0;
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        const int error = written ? errno : writeError;
        ::unlinkat(into.get(), temporary.constData(), 0);
        return error;
    }
    if (::renameat(into.get(), temporary.constData(), into.get(), entry.constData()) != 0) {
        const int error = errno;
        ::unlinkat(into.get(), temporary.constData(), 0);
        return error;
    }
    return std::nullopt;
}

} // namespace harborlite::platform
