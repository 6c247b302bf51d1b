#include "engine/scanners/DiskNode.h"

namespace harborlite {

size_t qHash(const DiskNode& node, size_t seed)
{
    return qHashMulti(seed, node.id, node.url, node.name, node.size, node.isDirectory,
                      qHashRange(node.children.begin(), node.children.end(), seed));
}

} // namespace harborlite
