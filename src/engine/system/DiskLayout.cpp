#include "engine/system/DiskLayout.h"

#include "platform/KernelFile.h"
#include "platform/KernelRoots.h"
#include "platform/MountTable.h"
#include "platform/PathText.h"
#include "shared/FileSystem.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

namespace harborlite {

namespace {

// Device-mapper layers seen through before the disk below is reached.
constexpr int kMaxLayers = 8;

QString blockFolder(const QString& name)
{
    return platform::sysRoot().get() + QStringLiteral("/block/") + name;
}

// The kernel's name of the block device a mount comes from ("vda2", "dm-0");
// empty for a file system on no block device.
QString blockDeviceOf(const platform::MountEntry& mount)
{
    const QString byNumber = platform::sysRoot().get()
        + QStringLiteral("/dev/block/%1:%2").arg(::major(mount.device)).arg(::minor(mount.device));
    const QString target = QFileInfo(byNumber).canonicalFilePath();
    if (!target.isEmpty()) {
        return FS::lastPathComponent(target);
    }
    // Btrfs numbers its files on a device of its own: the source names the disk.
    if (mount.source.startsWith(QLatin1String("/dev/"))) {
        const QString device = QFileInfo(mount.source).canonicalFilePath();
        return FS::lastPathComponent(device.isEmpty() ? mount.source : device);
    }
    return {};
}

// The disk a block device lies on: itself when it is a disk, the disk below
// a device-mapper layer, or the disk holding a partition.
QString diskOf(const QString& device, int layers = 0)
{
    if (device.isEmpty()) {
        return {};
    }
    if (FS::isDirectory(blockFolder(device))) {
        const QStringList below =
            FS::children(blockFolder(device) + QStringLiteral("/slaves"), {.includingHidden = true});
        if (!below.isEmpty() && layers < kMaxLayers) {
            return diskOf(FS::lastPathComponent(below.first()), layers + 1);
        }
        return below.isEmpty() ? device : QString();
    }
    for (const QString& disk :
         FS::children(platform::sysRoot().get() + QStringLiteral("/block"), {.includingHidden = true})) {
        if (FS::exists(disk + QLatin1Char('/') + device)) {
            return FS::lastPathComponent(disk);
        }
    }
    return {};
}

// The mount of the file system holding the location: the longest mount point above it.
std::optional<platform::MountEntry> mountHolding(const QList<platform::MountEntry>& mounts, const QString& location)
{
    std::optional<platform::MountEntry> found;
    for (const platform::MountEntry& mount : mounts) {
        if (FS::isBelow(location, mount.mountPoint)
            && (!found || mount.mountPoint.size() >= found->mountPoint.size())) {
            found = mount;
        }
    }
    return found;
}

struct Swap {
    QString path;
    bool isPartition = false;
    qint64 bytes = 0;
};

// /proc/swaps: a header, then the path (blanks escaped as \040), the type,
// the size and the use in KiB.
QList<Swap> swaps()
{
    QList<Swap> result;
    const QByteArray text = platform::readKernelFile(platform::procRoot().get() + QStringLiteral("/swaps"));
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].simplified().split(' ');
        if (fields.size() < 4) {
            continue;
        }
        bool ok = false;
        const qint64 kib = fields[2].toLongLong(&ok);
        if (!ok || kib <= 0) {
            continue;
        }
        QByteArray path = fields[0];
        path.replace("\\040", " ").replace("\\011", "\t").replace("\\012", "\n").replace("\\134", "\\");
        result.append({platform::pathText(path), fields[1] == "partition", kib * 1024});
    }
    return result;
}

// The role whose texts are true of a mount point by its place alone: the
// boot partitions. The home's file system is found by its device.
QString roleFor(const QString& mountPoint, const QString& system)
{
    if (mountPoint == FS::join(system, QStringLiteral("boot"))
        || mountPoint == FS::join(system, QStringLiteral("boot/efi"))) {
        return QStringLiteral("Preboot");
    }
    return {};
}

// The device a device-mapper layer lies on directly; empty for any other.
QString deviceBelow(const QString& device)
{
    const QStringList below = FS::children(blockFolder(device) + QStringLiteral("/slaves"), {.includingHidden = true});
    return below.size() == 1 ? FS::lastPathComponent(below.first()) : QString();
}

// Of two mount points of one file system, the one that names it.
bool namesBetter(const QString& mountPoint, const QString& than, const QString& system)
{
    const bool hasRole = !roleFor(mountPoint, system).isEmpty();
    const bool thanHasRole = !roleFor(than, system).isEmpty();
    if (hasRole != thanHasRole) {
        return hasRole;
    }
    return mountPoint.size() < than.size();
}

} // namespace

namespace DiskLayout {

std::optional<Use> statvfsUse(const QString& mountPoint)
{
    struct statvfs vfs { };
    if (::statvfs(platform::pathBytes(mountPoint).constData(), &vfs) != 0) {
        return std::nullopt;
    }
    const qint64 unit = qint64(vfs.f_frsize);
    return Use{qint64(vfs.f_blocks - std::min(vfs.f_bfree, vfs.f_blocks)) * unit, qint64(vfs.f_bavail) * unit};
}

std::optional<StorageBreakdown> of(const QString& folder, const UseOf& useOf)
{
    const QList<platform::MountEntry> mounts = platform::mountTable().get();
    const std::optional<platform::MountEntry> own = mountHolding(mounts, FS::path(folder));
    if (!own) {
        return std::nullopt;
    }
    const QString disk = diskOf(blockDeviceOf(*own));
    bool sized = false;
    const qint64 sectors =
        platform::readKernelFile(blockFolder(disk) + QStringLiteral("/size")).trimmed().toLongLong(&sized);
    if (disk.isEmpty() || !sized || sectors <= 0) {
        return std::nullopt;
    }

    // The folder's file system counts from its shallowest mount point: a
    // second place it is mounted at says nothing of the disk.
    const QString ownDevice = blockDeviceOf(*own);
    QString system = own->mountPoint;
    for (const platform::MountEntry& mount : mounts) {
        if (mount.mountPoint.size() < system.size() && blockDeviceOf(mount) == ownDevice) {
            system = mount.mountPoint;
        }
    }

    // One volume per block device of the disk, named by its best mount point.
    struct Found {
        QString device;
        QString mountPoint;
        QString fileSystemType;
        int mounts = 1;
    };
    QList<Found> found;
    for (const platform::MountEntry& mount : mounts) {
        const QString device = blockDeviceOf(mount);
        if (device.isEmpty() || diskOf(device) != disk) {
            continue;
        }
        const auto same = std::find_if(found.begin(), found.end(), [&](const Found& f) { return f.device == device; });
        if (same == found.end()) {
            found.append({device, mount.mountPoint, mount.fileSystemType});
            continue;
        }
        if (mount.mountPoint != same->mountPoint) {
            ++same->mounts;
        }
        if (namesBetter(mount.mountPoint, same->mountPoint, system)) {
            same->mountPoint = mount.mountPoint;
        }
    }

    // The file system holding the home is where the user's files are.
    const std::optional<platform::MountEntry> homeMount = mountHolding(mounts, FS::home());
    const QString homeDevice = homeMount ? blockDeviceOf(*homeMount) : QString();

    StorageBreakdown breakdown;
    breakdown.capacity = sectors * 512;
    QStringList pooledBelow;
    breakdown.sharesOnePool = false;
    for (const Found& volume : found) {
        const std::optional<Use> usage = useOf(volume.mountPoint);
        if (!usage) {
            continue;
        }
        breakdown.free += usage->available;
        const QString role = volume.device == homeDevice ? QStringLiteral("Data") : roleFor(volume.mountPoint, system);
        breakdown.volumes.append({volume.mountPoint, role, usage->used, volume.mountPoint, volume.fileSystemType});
        // Subvolumes of one btrfs file system share its space; so do the
        // logical volumes of one volume group, which lie on one device.
        if (volume.fileSystemType == QLatin1String("btrfs") && volume.mounts > 1) {
            breakdown.sharesOnePool = true;
        }
        const QString below = volume.device.startsWith(QLatin1String("dm-")) ? deviceBelow(volume.device) : QString();
        if (!below.isEmpty()) {
            breakdown.sharesOnePool = breakdown.sharesOnePool || pooledBelow.contains(below);
            pooledBelow.append(below);
        }
    }

    // Swap on this disk, taken out of the volume a swap file lies in.
    qint64 swapped = 0;
    for (const Swap& swap : swaps()) {
        if (swap.isPartition) {
            const QString device = QFileInfo(swap.path).canonicalFilePath();
            if (diskOf(FS::lastPathComponent(device.isEmpty() ? swap.path : device)) == disk) {
                swapped += swap.bytes;
            }
            continue;
        }
        const std::optional<platform::MountEntry> holder = mountHolding(mounts, swap.path);
        const QString device = holder ? blockDeviceOf(*holder) : QString();
        const auto volume =
            std::find_if(found.begin(), found.end(), [&](const Found& f) { return f.device == device; });
        if (volume == found.end()) {
            continue;
        }
        swapped += swap.bytes;
        for (StorageBreakdown::Volume& listed : breakdown.volumes) {
            if (listed.mountPoint == volume->mountPoint) {
                listed.usedBytes = std::max<qint64>(0, listed.usedBytes - swap.bytes);
            }
        }
    }
    if (swapped > 0) {
        breakdown.volumes.append(
            {QCoreApplication::translate("DiskLayout", "Swap"), QStringLiteral("VM"), swapped, QString()});
    }
    std::stable_sort(
        breakdown.volumes.begin(), breakdown.volumes.end(),
        [](const StorageBreakdown::Volume& a, const StorageBreakdown::Volume& b) { return a.usedBytes > b.usedBytes; });
    return breakdown;
}

} // namespace DiskLayout

} // namespace harborlite
