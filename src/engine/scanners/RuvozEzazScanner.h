#pragma once

#include "engine/scanners/DiskNode.h"

#include <QString>

#include <functional>
#include <vector>

namespace harborlite {

// Measures a folder tree into a disk map, largest first. Folders down to
// `maxDepth` get children; deeper ones are measured whole. Below the top
// level, children smaller than `minimumSize` are folded into one "Smaller
// items" node. Links are never followed or counted, pseudo file systems are
// not entered, network file systems only when the map is of a folder on one,
// and a file with several hard links counts once in the map, where the walk
// in listing order first meets it. The whole tree is walked in parallel by
// one FS::TreeWalker.
class RuvozEzazScanner {
public:
    using Progress = std::function<void(double fraction, const QString& name)>;
    using CancelPredicate = std::function<bool()>;

    explicit RuvozEzazScanner(qint64 minimumSize = 10'000'000, int maxDepth = 4)
        : minimumSize_(minimumSize)
        , maxDepth_(maxDepth)
    {
    }

    qint64 minimumSize() const { return minimumSize_; }
    int maxDepth() const { return maxDepth_; }

    // The map of the folder `at`, always a root node. `progress` hears each
    // top-level entry in listing order once those before it are measured
    // (the share measured, its name), then 1 and the root's name; both
    // callbacks may be called from any thread. Once `isCancelled` answers
    // true the root keeps the entries measured so far and the one under way.
    DiskNode buildTree(const QString& at, const Progress& progress = {}, const CancelPredicate& isCancelled = {}) const;

    // One level of a folder, for a folder the map measured whole: its entries
    // as nodes without children, largest first (equal sizes in name order),
    // files by their own size and folders measured whole; links and entries
    // of no size left out, hidden entries kept.
    std::vector<DiskNode> expansion(const QString& folder, const CancelPredicate& isCancelled = {}) const;

private:
    qint64 minimumSize_;
    int maxDepth_;
};

} // namespace harborlite
