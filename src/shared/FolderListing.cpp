#include "shared/FolderListing.h"

#include "platform/ErrorDescription.h"
#include "shared/SharedLog.h"

#include <QByteArray>
#include <QDebug>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace harborlite::FS {

namespace {

// Where an open folder is, for a warning only.
QByteArray whereIs(int fd)
{
    if (fd == AT_FDCWD) {
        return {};
    }
    char buffer[4096];
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t length = ::readlink(link.constData(), buffer, sizeof buffer);
    return length > 0 ? QByteArray(buffer, qsizetype(length)) : QByteArray("?");
}

} // namespace

FolderListing::FolderListing()
    : buffer_(new char[kBufferSize])
{
}

int FolderListing::open(int parentFd, const char* name)
{
    return ::openat(parentFd, name, kOpenFlags);
}

int FolderListing::openBelow(int parentFd, const char* name, bool& anotherMount)
{
    // openat2 refuses to cross into another mount; a kernel without it
    // (before 5.6) makes every folder count as one.
    static std::atomic<bool> supported{true};
    anotherMount = true;
    if (supported.load(std::memory_order_relaxed)) {
        struct open_how how { };
        how.flags = std::uint64_t(kOpenFlags);
        how.resolve = RESOLVE_NO_XDEV;
        const int fd = int(::syscall(SYS_openat2, parentFd, name, &how, sizeof how));
        if (fd >= 0) {
            anotherMount = false;
            return fd;
        }
        if (errno == ENOSYS || errno == EPERM) {
            supported = false;
        } else if (errno != EXDEV) {
            return -1;
        }
    }
    return open(parentFd, name);
}

void FolderListing::reportSkipped(int parentFd, const char* name, int error)
{
    if (error == ENOENT) {
        return;
    }
    QByteArray where = whereIs(parentFd);
    if (!where.isEmpty() && !where.endsWith('/')) {
        where += '/';
    }
    qCWarning(sharedLog).noquote() << "Passing over" << QString::fromUtf8(where + name) << "-"
                                   << platform::errorDescription(error);
}

void FolderListing::reset(int fd)
{
    fd_ = fd;
    filled_ = 0;
    offset_ = 0;
    error_ = 0;
}

const struct dirent64* FolderListing::next()
{
    for (;;) {
        if (offset_ >= filled_) {
            if (fd_ < 0) {
                return nullptr;
            }
            const ssize_t n = ::getdents64(fd_, buffer_.get(), kBufferSize);
            if (n <= 0) {
                if (n < 0) {
                    error_ = errno;
                    qCWarning(sharedLog).noquote() << "Passing over the rest of" << QString::fromUtf8(whereIs(fd_))
                                                   << "-" << platform::errorDescription(error_);
                }
                fd_ = -1;
                filled_ = 0;
                offset_ = 0;
                return nullptr;
            }
            filled_ = long(n);
            offset_ = 0;
        }
        const auto* entry = reinterpret_cast<const struct dirent64*>(buffer_.get() + offset_);
        offset_ += entry->d_reclen;
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
            continue;
        }
        return entry;
    }
}

} // namespace harborlite::FS
