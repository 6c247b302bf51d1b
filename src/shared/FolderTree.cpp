#include "shared/FolderTree.h"

#include <algorithm>

namespace harborlite::FS {

namespace {

// The names from below the root down to the entry.
std::vector<std::string_view> steps(const FolderTree::Node& folder, std::string_view name)
{
    std::vector<std::string_view> result(folder.depth + 1);
    result[folder.depth] = name;
    for (const FolderTree::Node* node = &folder; node->parent != nullptr; node = node->parent) {
        result[node->depth - 1] = node->name;
    }
    return result;
}

void appendStep(std::string& path, std::string_view name)
{
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    path += name;
}

} // namespace

FolderTree::FolderTree(int workers)
    : nodes_(std::size_t(std::max(workers, 1)))
{
}

const FolderTree::Node& FolderTree::add(int worker, const Node* parent, std::size_t root, std::string_view name)
{
    return nodes_[std::size_t(worker)].emplace_back(
        Node{parent, root, std::string(name), parent != nullptr ? parent->depth + 1 : 0});
}

std::string FolderTree::path(const Node& folder)
{
    if (folder.parent == nullptr) {
        return folder.name;
    }
    std::string result = path(*folder.parent);
    appendStep(result, folder.name);
    return result;
}

std::string FolderTree::path(const Node& folder, std::string_view name)
{
    std::string result = path(folder);
    appendStep(result, name);
    return result;
}

std::string FolderTree::relativePath(const Node& folder, std::string_view name)
{
    std::string result;
    for (const std::string_view step : steps(folder, name)) {
        appendStep(result, step);
    }
    return result;
}

bool FolderTree::before(const Node& aFolder, std::string_view a, const Node& bFolder, std::string_view b)
{
    if (aFolder.root != bFolder.root) {
        return aFolder.root < bFolder.root;
    }
    const std::vector<std::string_view> left = steps(aFolder, a);
    const std::vector<std::string_view> right = steps(bFolder, b);
    return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end());
}

} // namespace harborlite::FS
