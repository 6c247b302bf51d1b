#pragma once

#include <QString>
#include <QUuid>

#include <vector>

namespace harborlite {

// One node of the disk map. Every node built gets a fresh id.
struct DiskNode {
    QUuid id;
    QString url;
    QString name;
    qint64 size = 0;
    bool isDirectory = false;
    // Largest first; empty when the entry was not listed.
    std::vector<DiskNode> children;

    bool operator==(const DiskNode&) const = default;
};

} // namespace harborlite
