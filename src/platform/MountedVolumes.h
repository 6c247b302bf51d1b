#pragma once

#include "platform/Seam.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace harborlite::platform {

// A mounted volume the user sees as a drive of its own.
struct MountedVolume {
    QString name; // the last path component of the mount point
    QString mountPoint;

    bool operator==(const MountedVolume&) const = default;
};

// The mount points at or below /media, /run/media/<userName> and /mnt, as
// volumes sorted by name (then mount point).
QList<MountedVolume> volumesAmong(const QStringList& mountPoints, const QString& userName);

// The user's volumes now, read on every call: volumesAmong(mountPoints(), the
// name of userId()). Tests substitute fixture folders.
Seam<QList<MountedVolume>>& mountedVolumes();

} // namespace harborlite::platform
