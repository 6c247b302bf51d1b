#include "shared/FolderListing.h"

#include <cerrno>

namespace harborlite::FS {

FolderListing::FolderListing() : buffer_(new char[kBufferSize]) {}

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
                error_ = n < 0 ? errno : 0;
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
