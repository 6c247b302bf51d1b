#pragma once

#include <QByteArray>

#include <dirent.h>
#include <functional>
#include <sys/types.h>
#include <vector>

namespace harborlite::FS {

// Counts the allocated bytes of the regular files below a folder, walking
// directory descriptors iteratively (openat/fdopendir/readdir, fstatat only for
// files whose type the listing does not tell). Symbolic links are never
// followed; pseudo file systems are not entered. Memory is O(depth): at most
// kMaxOpenLevels directory streams stay open, shallower levels are closed and
// found again through ".." of the level below, then checked by device and inode.
class DiskUsageWalker {
public:
    explicit DiskUsageWalker(const std::function<bool()>& isCancelled);
    ~DiskUsageWalker();
    DiskUsageWalker(const DiskUsageWalker&) = delete;
    DiskUsageWalker& operator=(const DiskUsageWalker&) = delete;

    // Allocated bytes under `path` (bytes as stored on disk); the item's own
    // allocation when it is not a folder; 0 when it does not exist. Returns the
    // partial total once the cancellation predicate answers true.
    qint64 total(const QByteArray& path);

    static constexpr size_t kMaxOpenLevels = 48;

private:
    struct Level {
        DIR* stream = nullptr;
        dev_t device = 0;
        ino_t inode = 0;
        long position = 0;
    };

    bool push(int fd);
    bool reopenParentOf(size_t index);
    void closeShallowLevels();
    void clear();
    bool isPseudoFileSystem(int fd, dev_t device);

    const std::function<bool()>& isCancelled_;
    std::vector<Level> levels_;
    size_t openLevels_ = 0;
    dev_t lastCheckedDevice_ = 0;
    bool lastCheckedPseudo_ = false;
};

} // namespace harborlite::FS
