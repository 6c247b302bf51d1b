#include "shared/LinkClaims.h"

namespace harborlite::FS {

void LinkClaims::claim(TreeWalker::Inode inode, qint64 bytes, std::size_t root, LevelNode* owner)
{
    const std::lock_guard lock(mutex_);
    const auto [it, inserted] = claims_.try_emplace(inode, Claim{root, bytes, owner});
    if (inserted) {
        return;
    }
    if (owner != nullptr ? earlier(owner, it->second.owner) : root < it->second.root) {
        it->second.root = root;
        it->second.owner = owner;
    }
}

void LinkClaims::settle(std::unordered_set<TreeWalker::Inode, TreeWalker::InodeHash>& counted,
                        std::vector<qint64>& totals)
{
    for (const auto& [inode, claim] : claims_) {
        if (!counted.insert(inode).second) {
            continue;
        }
        if (claim.owner != nullptr && claim.owner->slot == kNoSlot) {
            claim.owner->bytes = saturatingAdd(claim.owner->bytes, claim.bytes);
        } else {
            if (claim.root >= totals.size()) {
                totals.resize(claim.root + 1, 0);
            }
            totals[claim.root] += claim.bytes;
        }
    }
}

} // namespace harborlite::FS
