#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <memory>

namespace harborlite::FS {

// The one way the walkers read a folder: raw getdents64 into a 64 KiB buffer
// (no directory stream, which costs an extra fstat and two fcntl per folder),
// each entry's name as bytes with the type the listing gives. "." and ".."
// are left out. One listing serves many folders in turn (reset). Folders are
// opened here too, never through a symbolic link, and a folder that a walk
// passes over because it cannot be opened or read is reported here, to sharedLog.
class FolderListing {
public:
    FolderListing();

    // Opens the folder `name` inside the open folder `parentFd` (or AT_FDCWD
    // with a path) for listing; -1 with errno set when it cannot be opened.
    static int open(int parentFd, const char* name);
    // The same for a subfolder, telling whether it is the root of another
    // mount (a mount point or a bind mount): below the same mount a walker
    // knows the folder's file system already and needs no fstat.
    static int openBelow(int parentFd, const char* name, bool& anotherMount);
    // Says that a walk passes over that folder, with the errno why; a folder
    // that vanished meanwhile (ENOENT) is not worth a word.
    static void reportSkipped(int parentFd, const char* name, int error);

    // Starts listing the folder open at `fd` (not taken over, not rewound).
    void reset(int fd);
    // The next entry, or nullptr at the end or on a read error (reported;
    // see error()).
    const struct dirent64* next();
    // The errno of a failed read, 0 when the listing ended normally.
    int error() const { return error_; }

    static constexpr std::size_t kBufferSize = 64 * 1024;
    static constexpr int kOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;

private:
    std::unique_ptr<char[]> buffer_;
    int fd_ = -1;
    long filled_ = 0;
    long offset_ = 0;
    int error_ = 0;
};

} // namespace harborlite::FS
