#pragma once

#include "engine/scanners/DiskNode.h"

#include <QString>

#include <functional>

namespace harborlite {

// Measures a folder tree into a disk map, largest first. Folders down to
// `maxDepth` get children; deeper ones are measured whole. Below the top
// level, children smaller than `minimumSize` are folded into one "Smaller
// items" node. Links are never followed or counted, pseudo file systems are
// not entered, and a file with several hard links counts once in the map.
class RuvozEzazScanner {
public:
    using Progress = std::function<void(double fraction, const QString& name)>;
    using CancelPredicate = std::function<bool()>;

    explicit RuvozEzazScanner(qint64 minimumSize = 10'000'000, int maxDepth = 4)
        : minimumSize_(minimumSize), maxDepth_(maxDepth)
    {
    }

    qint64 minimumSize() const { return minimumSize_; }
    int maxDepth() const { return maxDepth_; }

    // The map of the folder `at`, always a root node. `progress` hears each
    // top-level entry as it is measured (fraction, its name), then 1 and the
    // root's name; both callbacks may be called from any thread. Once
    // `isCancelled` answers true the root holds what was measured so far.
    DiskNode buildTree(const QString& at, const Progress& progress = {},
                       const CancelPredicate& isCancelled = {}) const;

private:
    qint64 minimumSize_;
    int maxDepth_;
};

} // namespace harborlite
