#include "platform/FileDescriptor.h"

#include <unistd.h>

namespace harborlite::platform {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        reset(std::exchange(other.fd_, -1));
    }
    return *this;
}

void FileDescriptor::reset(int fd)
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
}

} // namespace harborlite::platform
