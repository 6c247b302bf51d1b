#pragma once

#include "engine/services/StorageBreakdown.h"

#include <QString>

#include <functional>
#include <optional>

namespace harborlite {

// How the disk that holds a folder is used, as Linux tells it: the disk is
// the one behind the file system of the folder (through device-mapper
// layers: encryption, volume groups), its size from /sys/block; its volumes
// are the file systems mounted from it (mount table), each once however
// often it is mounted, with their use from statvfs, and its swap partitions
// and files (/proc/swaps) as one "VM" volume. The folder's own file system
// is "System", a separate "home" beside it "Data", "boot" and "boot/efi"
// "Preboot"; each carries its mount point. Free space is what the volumes
// have available. Reads platform::mountTable(), sysRoot() and procRoot().
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
