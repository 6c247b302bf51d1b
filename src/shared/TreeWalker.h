#pragma once

#include "shared/FolderTree.h"

#include <QByteArray>

#include <functional>
#include <mutex>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>
#include <unordered_set>
#include <vector>

namespace harborlite::FS {

// The parallel walk. It counts the allocated bytes (st_blocks * 512) of the
// regular files below folders, or hands each regular file to a visitor
// (index). Threads come from the process's I/O budget (IoThreads), up to
// kMaxThreads with the caller's own: each takes a folder from a shared stack,
// lists it (FolderListing: one fstatat per regular file and none for folders
// or links, whose type the listing gives), goes on into its first subfolder
// and pushes the others in one locked push. Folders are opened relative to
// their parent and never through a link; pseudo file systems (proc, sysfs,
// devtmpfs and the like) are not entered. A parent stays open while pushed
// subfolders wait for it; once kMaxWaitingFolders are held, a thread walks
// the rest of its folder itself through a BoundedWalk, so no tree needs one
// descriptor per level. Under a low descriptor limit both the threads and the
// waiting folders are fewer.
//
// When counting, a file with several hard links counts once per (device,
// inode) for the walker's lifetime: the first root (in the order given, then
// earlier calls) that reaches it gets its bytes, so totals never depend on
// thread timing. In a walk of levels the first place in listing order gets them.
class TreeWalker {
public:
    using CancelPredicate = std::function<bool()>;

    // `isCancelled` is polled once before folders are walked and before every entry, from any
    // of the walk's threads; once it answers true every thread stops.
    explicit TreeWalker(CancelPredicate isCancelled = {}, int threads = kMaxThreads);

    // Folders never opened by totals() and levels(), as absolute paths:
    // mount points of file systems that may not answer. Only their parents
    // are looked at, at once.
    void skipFolders(const std::vector<QByteArray>& folders);

    // The bytes below each root (paths, trailing slashes already removed): a
    // folder counts the regular files below it, anything else (a link
    // included) its own allocation; a missing root counts 0.
    std::vector<qint64> totals(const std::vector<QByteArray>& roots);
    qint64 total(const QByteArray& root);

    // An entry of a walk of levels: a regular file, a folder listed entry by
    // entry, or a folder counted whole.
    struct Entry {
        // As the file system has it, whatever the encoding.
        QByteArray name;
        bool isDirectory = false;
        bool isListed = false;
        // A file's allocation; a folder's, that of the regular files below it.
        qint64 bytes = 0;
        // A listed folder's entries in byte order of their names, without the
        // small files (Levels::smallFile), whose bytes are in `folded`.
        std::vector<Entry> children;
        qint64 folded = 0;
    };

    struct Levels {
        // The root's entries are level 1; folders above `depth` are listed
        // entry by entry, folders at `depth` counted whole.
        int depth = 1;
        // Below level 1, files with one link smaller than this are folded.
        qint64 smallFile = 0;
        // The root's entries are known (bytes not yet), before any is walked.
        std::function<void(const Entry& root)> listed;
        // Everything below the root's entry at `index` has been counted; once
        // per entry, from any thread, never after the walk was cancelled.
        std::function<void(std::size_t index)> finished;
    };

    // The folder `root` (a link there is followed) with its first levels,
    // walked in parallel like totals(). Links, other special files and
    // folders on pseudo file systems are entries of no bytes. A cancelled
    // walk keeps what it had counted; a root that is no folder is empty.
    Entry levels(const QByteArray& root, const Levels& levels);

    // What an indexing walk does with what it meets.
    struct Indexing {
        // Entries whose names start with "." are passed over, with all below them.
        bool skipHidden = false;
        // Whether to enter a subfolder, by its name; all are entered without it.
        std::function<bool(std::string_view name)> entersFolder;
        // Each regular file, with the folder it lies in and its own lstat
        // values, on walk thread `worker` (below kMaxThreads). Threads call it
        // at once, but never two at once with the same worker number.
        std::function<void(int worker, const FolderTree::Node& folder, std::string_view name, const struct stat& st)>
            file;
    };

    // Walks the folder at `root` (a path; a link is followed for the root
    // only) as root number `rootIndex`, handing its regular files over
    // instead of counting them. The folders entered are kept in folders(). A
    // folder is reached twice only through a mount (a bind mount of a parent):
    // the roots of mounts are entered once for the walker's lifetime, and
    // never one set aside, so no walk loops, though what a mount shows again
    // may be handed over twice (one file, same device and inode).
    // false when cancelled or when the root cannot be opened.
    bool index(const QByteArray& root, std::size_t rootIndex, const Indexing& indexing);
    // A folder no index() walk enters (another root's own, say).
    void setAside(dev_t device, ino_t inode);
    const FolderTree& folders() const { return folders_; }

    static constexpr int kMaxThreads = 8;
    static constexpr int kMaxWaitingFolders = 256;

    struct Inode {
        dev_t device = 0;
        ino_t inode = 0;
        bool operator==(const Inode&) const = default;
    };
    struct InodeHash {
        std::size_t operator()(const Inode& key) const noexcept
        {
            return std::hash<ino_t>()(key.inode) * 31 + std::hash<dev_t>()(key.device);
        }
    };

    // A folder never opened: its name inside the parent folder (device, inode).
    struct Skipped {
        Inode parent;
        QByteArray name;
    };

    // Folders entered once, shared by the threads of an indexing walk.
    struct EnteredFolders {
        std::mutex mutex;
        std::unordered_set<Inode, InodeHash> inodes;
        // Folders set aside, looked for by their entry's inode in every
        // listing (not changed while a walk runs).
        std::vector<Inode> aside;
        // Whether the folder is new, marking it entered.
        bool enter(const Inode& folder);
    };

private:
    CancelPredicate isCancelled_;
    int threads_;
    std::unordered_set<Inode, InodeHash> counted_;
    FolderTree folders_;
    EnteredFolders entered_;
    std::vector<Skipped> skipped_;
};

} // namespace harborlite::FS
