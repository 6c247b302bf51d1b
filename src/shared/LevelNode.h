#pragma once

#include "shared/TreeWalker.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

// The tree a walk of levels (TreeWalker::levels) builds while its threads list
// folders, before it becomes the caller's TreeWalker::Entry.
namespace harborlite::FS {

constexpr std::size_t kNoSlot = std::numeric_limits<std::size_t>::max();

// An entry of a walk of levels, and where bytes counted for it go. Only the
// thread that lists a folder adds its children, into room reserved before,
// so a child never moves; parent, ordinal and slot never change after that.
struct LevelNode {
    QByteArray name;
    bool isDirectory = false;
    bool isListed = false;
    qint64 bytes = 0;
    qint64 folded = 0;
    std::vector<LevelNode> children;
    const LevelNode* parent = nullptr;
    // Its place in its folder's listing by name.
    std::uint32_t ordinal = 0;
    // The per-thread totals' slot of a folder counted whole.
    std::size_t slot = kNoSlot;
    // The root's entry it lies in, and its level below the root (the root's entries are 1).
    std::size_t top = 0;
    int level = 0;
};

// a + b, held at the largest size rather than wrapping.
qint64 saturatingAdd(qint64 a, qint64 b);

// Whether `a` comes before `b` in listing order, depth first.
bool earlier(const LevelNode* a, const LevelNode* b);

// The entry with its children in listing order, a listed folder's bytes the
// sum of its children's and what was folded.
TreeWalker::Entry entryOf(LevelNode&& node);

} // namespace harborlite::FS
