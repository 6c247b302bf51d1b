#pragma once

#include "platform/ToolTable.h"

#include <QString>

namespace harborlite {

// The backup service's local snapshots on a volume and the space the system
// could free on demand there.
struct LocalSnapshots {
    int count = 0;
    qint64 purgeableBytes = 0;

    bool operator==(const LocalSnapshots&) const = default;

    // Lines of `tmutil listlocalsnapshots <volume>` naming a backup snapshot;
    // 0 when the tool is missing (nothing is started), fails or times out.
    static int snapshotCount(const QString& volume, const platform::ToolTable& tools = {});

    // Space held for on-demand freeing beyond the plain available space. Linux
    // file systems keep no such reserve, so there is nothing beyond it: 0.
    static qint64 purgeable(const QString& volume);
};

} // namespace harborlite
