#pragma once

#include <dirent.h>
#include <memory>

namespace harborlite::FS {

// Reads the entries of an open folder with raw getdents64 into a 64 KiB
// buffer: no directory stream, so no extra fstat and fcntl per folder. "." and
// ".." are left out. One listing serves many folders in turn (reset).
class FolderListing {
public:
    FolderListing();

    // Starts listing the folder open at `fd` (not taken over, not rewound).
    void reset(int fd);
    // The next entry, or nullptr at the end or on a read error (see error()).
    const struct dirent64* next();
    // The errno of a failed read, 0 when the listing ended normally.
    int error() const { return error_; }

    static constexpr std::size_t kBufferSize = 64 * 1024;

private:
    std::unique_ptr<char[]> buffer_;
    int fd_ = -1;
    long filled_ = 0;
    long offset_ = 0;
    int error_ = 0;
};

} // namespace harborlite::FS
