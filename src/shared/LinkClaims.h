#pragma once

#include "shared/LevelNode.h"
#include "shared/TreeWalker.h"

#include <cstddef>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace harborlite::FS {

// Files with more than one name, counted once however many roots or folders
// reach them: each keeps the earliest root (in a walk of levels, the earliest
// entry) that claimed it, and its bytes go there when the walk ends. Claimed
// from any thread of a walk.
class LinkClaims {
public:
    void claim(TreeWalker::Inode inode, qint64 bytes, std::size_t root, LevelNode* owner);

    // After the walk, on one thread: the bytes of every file not in `counted`
    // (kept across walks, and given the files counted now) go to its entry,
    // or to its root's total when the entry has a slot of its own or there is none.
    void settle(std::unordered_set<TreeWalker::Inode, TreeWalker::InodeHash>& counted, std::vector<qint64>& totals);

private:
    struct Claim {
        std::size_t root;
        qint64 bytes;
        LevelNode* owner; // levels: the entry the bytes go to
    };

    std::mutex mutex_;
    std::unordered_map<TreeWalker::Inode, Claim, TreeWalker::InodeHash> claims_;
};

} // namespace harborlite::FS
