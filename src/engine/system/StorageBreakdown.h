#pragma once

#include "platform/ToolTable.h"

#include <QList>
#include <QString>

#include <optional>

namespace harborlite {

// How a volume's space is used: its APFS container's capacity, free space and
// volumes, the purgeable space and the local snapshots. Linux has no diskutil:
// there the container is the disk that holds the volume and its volumes the
// file systems and swap on that disk (DiskLayout). Where neither can be read
// it falls back to the volume's own capacity and no volumes.
struct StorageBreakdown {
    struct Volume {
        // "Untitled" when the listing gives none.
        QString name;
        // The first APFS role, empty when there is none.
        QString role;
        qint64 usedBytes = 0;
        // Where it is mounted, for a volume the disk map can show; empty for
        // swap and for the volumes of an APFS container.
        QString mountPoint = {};
        // The Linux file system's type ("ext4"); empty for swap and APFS.
        QString fileSystemType = {};

        bool operator==(const Volume&) const = default;

        QString id() const { return name + role; }
        // Texts for the legend, chosen by role.
        QString title() const;
        QString detail() const;
    };

    qint64 capacity = 0;
    qint64 free = 0;
    // Largest use first; equal use in listing order.
    QList<Volume> volumes;
    qint64 purgeable = 0;
    int snapshotCount = 0;
    // The volumes draw on one pool of space (an APFS container, subvolumes
    // of one btrfs file system, logical volumes of one group), rather than
    // each on a partition of its own.
    bool sharesOnePool = true;

    bool operator==(const StorageBreakdown&) const = default;

    // Blocks for up to 15 s for the volume query, 20 s for the container
    // listing and the snapshot count's own limit. Never fails. Without
    // diskutil the disk is read as Linux tells it.
    static StorageBreakdown measure(const QString& volume, const platform::ToolTable& tools = {});
};

} // namespace harborlite
