#pragma once

#include "engine/system/StorageBreakdown.h"

#include <QString>

#include <functional>
#include <optional>

namespace harborlite {

// How the disk that holds a folder is used, as Linux tells it: the disk is
// the one behind the file system of the folder (through device-mapper
// layers: encryption, volume groups), its size from /sys/block; its volumes
// are the file systems mounted from it (mount table), each once however
// often it is mounted, with their use from statvfs, and its swap partitions
// and files (/proc/swaps) as one "VM" volume. The file system holding the
// home is "Data", "boot" and "boot/efi" beside the folder's own "Preboot";
// any other (a separate root, a partition of its own) has no role and keeps
// its mount point as name, with its file-system type. Each carries its mount
// point. They share one pool only as subvolumes of one btrfs file system or
// logical volumes of one group. Free space is what the volumes have
// available. Reads platform::mountTable(), sysRoot(), procRoot() and the home.
namespace DiskLayout {

// What a file system uses and has available, in bytes.
struct Use {
    qint64 used = 0;
    qint64 available = 0;
};
using UseOf = std::function<std::optional<Use>(const QString& mountPoint)>;

// statvfs of the mount point; none when it cannot be asked.
std::optional<Use> statvfsUse(const QString& mountPoint);

// None when the folder is not on a disk the kernel lists (an overlay, a
// network file system, a kernel without /sys). A file system whose use
// cannot be read is left out.
std::optional<StorageBreakdown> of(const QString& folder, const UseOf& useOf = statvfsUse);

} // namespace DiskLayout

} // namespace harborlite
