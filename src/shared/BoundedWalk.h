#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace harborlite::FS {

// Walks a folder tree depth first through at most kMaxOpenLevels open
// folders, whatever its depth. Each folder is listed in full when entered (by
// the visitor), so a level keeps only the names of the subfolders still to
// visit; shallower levels are closed and found again through ".." of the level
// below, checked by device and inode. Folders are opened relative to their
// parent and never through a symbolic link, so no path is ever built.
class BoundedWalk {
public:
    struct Folder {
        int fd = -1;
        dev_t device = 0;
        ino_t inode = 0;
    };

    struct Visitor {
        // A folder was entered: list it and append the names of the subfolders
        // to enter, in order. false stops the walk.
        std::function<bool(const Folder& folder, const std::string& name, std::vector<std::string>& subfolders)>
            enter;
        // A folder could not be opened (errno in `error`). false stops the walk.
        std::function<bool(int parentFd, const std::string& name, int error)> openFailed;
        // Everything below the folder was visited; its parent is open. false stops the walk.
        std::function<bool(int parentFd, const std::string& name)> leave;
    };

    enum class Outcome {
        completed,
        stopped, // a visitor answered false
        lost,    // a closed level could not be found again: the tree moved underneath
    };

    // Walks the folder `name` inside the open folder `parentFd` (or AT_FDCWD with a path).
    static Outcome run(int parentFd, const std::string& name, const Visitor& visitor);

    static constexpr std::size_t kMaxOpenLevels = 48;
};

} // namespace harborlite::FS
