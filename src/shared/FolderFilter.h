#pragma once

#include "shared/TreeWalker.h"

#include <QByteArray>

#include <dirent.h>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace harborlite::FS {

// Whether the open folder lies on a kernel file system that holds no user data.
bool isPseudoFileSystem(int fd, dev_t device);

// Which folders a walk enters: none on a kernel file system, none set aside
// (TreeWalker::setAside) or skipped by name (TreeWalker::skipFolders), and of
// the rest those an indexing visitor wants. The lists it is given are not
// changed during a walk, so every thread asks it at once.
class FolderFilter {
public:
    // Each may be none: nothing of that kind is left out.
    FolderFilter(const TreeWalker::Indexing* indexing, const TreeWalker::EnteredFolders* entered,
                 const std::vector<TreeWalker::Skipped>* skipped);

    // The names in the folder (device, inode) never opened, into `names`.
    void findSkipped(std::vector<const QByteArray*>& names, dev_t device, ino_t inode) const;
    static bool isSkipped(const std::vector<const QByteArray*>& names, const char* name);

    // Whether the device's file system is a kernel one, the answers kept in
    // `known` (one list per thread).
    static bool pseudo(std::vector<std::pair<dev_t, bool>>& known, int fd, dev_t device);

    bool entersFolder(const char* name) const;

    // Whether a subfolder listed in the open folder `fd` was set aside: its
    // entry's inode matches one, and so do its device and inode.
    bool setAside(int fd, const struct dirent64& entry) const;

private:
    const TreeWalker::Indexing* indexing_;
    const TreeWalker::EnteredFolders* entered_;
    const std::vector<TreeWalker::Skipped>* skipped_;
};

} // namespace harborlite::FS
