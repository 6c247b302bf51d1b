#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace harborlite::FS {

// The folders an indexing walk entered, each knowing its parent and its own
// name, so that the path of whatever was found is built only when it is
// wanted instead of for every entry. Nodes never move once added; each walk
// thread adds to a list of its own, so adding takes no lock.
class FolderTree {
public:
    struct Node {
        const Node* parent = nullptr; // none for a root
        std::size_t root = 0; // which root, in the order they were walked
        std::string name; // a root's path, else the folder's own name
        std::size_t depth = 0;
    };

    explicit FolderTree(int workers);

    // A folder entered by thread `worker`, below `parent` (a root when null).
    const Node& add(int worker, const Node* parent, std::size_t root, std::string_view name);

    // The bytes of the folder's path, or of the path of the entry `name` in it.
    static std::string path(const Node& folder);
    static std::string path(const Node& folder, std::string_view name);
    // The entry's path below its root, without the root ("a/b/name").
    static std::string relativePath(const Node& folder, std::string_view name);

    // Whether entry `a` of folder `aFolder` comes before entry `b` of `bFolder`
    // in a walk of the roots in their order, each depth first in byte order
    // of the names: the order a serial walk in name order would meet them.
    static bool before(const Node& aFolder, std::string_view a, const Node& bFolder, std::string_view b);

private:
    std::vector<std::deque<Node>> nodes_;
};

} // namespace harborlite::FS
