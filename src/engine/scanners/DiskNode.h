#pragma once

#include <QHashFunctions>
#include <QString>
#include <QUuid>

#include <vector>

namespace harborlite {

// One node of the disk map: a file, a folder, or the small children of a
// folder folded into one "Smaller items" node. Every node built gets a fresh
// id, so two builds of the same folder never give equal nodes.
struct DiskNode {
    QUuid id;
    QString url;
    QString name;
    qint64 size = 0;
    bool isDirectory = false;
    std::vector<DiskNode> children; // largest first

    bool operator==(const DiskNode&) const = default;
};

size_t qHash(const DiskNode& node, size_t seed = 0);

} // namespace harborlite
