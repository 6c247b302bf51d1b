#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace harborlite::FS {

// The serial walk: depth first, each entry shown before the next one of its
// folder and a folder's contents right after it, through at most
// kMaxOpenLevels open folders whatever the depth. Each folder is listed in
// full when it is entered (FolderListing), so a level keeps only the names
// still to visit; shallower levels are closed and found again through ".." of
// the level below, checked by device and inode. Folders are opened relative to
// their parent and never through a symbolic link, so no path is ever needed to
// reach them: a tree 10,000 levels deep needs neither 10,000 descriptors nor
// paths longer than PATH_MAX. The walk keeps each folder's path as reached
// for visitors that name what they find.
class BoundedWalk {
public:
    struct Folder {
        int fd = -1;
        dev_t device = 0;
        ino_t inode = 0;
        // 0 for the folder the walk starts at.
        std::size_t depth = 0;
        // The name given to run(), then "/" and the name of each folder below.
        std::string_view path;
        // The errno of a listing cut short (reported), 0 when read in full.
        int listingError = 0;
    };

    struct Entry {
        std::string_view name; // bytes; name.data() ends with a NUL
        // DT_DIR, DT_REG, DT_LNK...: a listing that does not tell (DT_UNKNOWN)
        // is completed with fstatat, an entry gone meanwhile is not shown.
        unsigned char type = 0;
    };

    enum class Step {
        go, // enter: visit the folder's entries; entry: enter a folder at once
        skip, // enter: leave the folder unvisited (no leave call); entry: pass it by
        stop, // end the walk
    };

    struct Options {
        // Each folder's entries in byte order of their names, so what a
        // scanner finds comes in an order that does not depend on the disk.
        bool nameOrder = false;
        // Entries whose names start with "." are not shown.
        bool skipHidden = false;
    };

    struct Visitor {
        // Pre-order: a folder was opened and listed, before its entries.
        std::function<Step(const Folder& folder)> enter;
        // Each entry of the folder, in listing order (or name order).
        std::function<Step(const Folder& folder, const Entry& entry)> entry;
        // Post-order: everything below the folder was visited and it is closed;
        // its parent is open at `parentFd`. false stops the walk.
        std::function<bool(int parentFd, const std::string& name)> leave;
        // A folder could not be opened (errno in `error`): false stops the
        // walk. Without it the folder is reported (FolderListing) and passed over.
        std::function<bool(int parentFd, const std::string& name, int error)> openFailed;
    };

    enum class Outcome {
        completed,
        stopped, // a visitor stopped it
        lost, // a closed level could not be found again: the tree moved underneath
    };

    // Walks the folder `name` inside the open folder `parentFd` (or AT_FDCWD with a path).
    static Outcome run(int parentFd, const std::string& name, const Visitor& visitor, Options options);
    static Outcome run(int parentFd, const std::string& name, const Visitor& visitor);

    static constexpr std::size_t kMaxOpenLevels = 48;
};

} // namespace harborlite::FS
