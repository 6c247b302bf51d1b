#include "shared/LevelNode.h"

#include <algorithm>

namespace harborlite::FS {

namespace {

std::vector<std::uint32_t> placeOf(const LevelNode* node)
{
    std::vector<std::uint32_t> place;
    for (; node != nullptr; node = node->parent) {
        place.push_back(node->ordinal);
    }
    std::reverse(place.begin(), place.end());
    return place;
}

} // namespace

qint64 saturatingAdd(qint64 a, qint64 b)
{
    qint64 sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? std::numeric_limits<qint64>::max() : sum;
}

bool earlier(const LevelNode* a, const LevelNode* b)
{
    if (a->parent == b->parent) {
        return a->ordinal < b->ordinal;
    }
    const std::vector<std::uint32_t> first = placeOf(a);
    const std::vector<std::uint32_t> second = placeOf(b);
    return std::lexicographical_compare(first.begin(), first.end(), second.begin(), second.end());
}

TreeWalker::Entry entryOf(LevelNode&& node)
{
    TreeWalker::Entry entry{std::move(node.name), node.isDirectory, node.isListed, node.bytes, {}, node.folded};
    if (node.isListed) {
        qint64 bytes = node.folded;
        std::sort(node.children.begin(), node.children.end(),
                  [](const LevelNode& a, const LevelNode& b) { return a.ordinal < b.ordinal; });
        entry.children.reserve(node.children.size());
        for (LevelNode& child : node.children) {
            entry.children.push_back(entryOf(std::move(child)));
            bytes = saturatingAdd(bytes, entry.children.back().bytes);
        }
        entry.bytes = bytes;
    }
    return entry;
}

} // namespace harborlite::FS
