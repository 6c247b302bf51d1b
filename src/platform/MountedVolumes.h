#pragma once

#include "platform/Seam.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace harborlite::platform {

// A mounted volume the user sees as a drive of its own.
struct MountedVolume {
    QString name;       // the last path component of the mount point
    QString mountPoint;

    bool operator==(const MountedVolume&) const = default;
};

// The mount points named in a mount table written like /proc/self/mountinfo,
// octal escapes (\040 for a blank) decoded, each once, in table order.
QStringList mountPointsFromMountInfo(const QByteArray& mountInfo);

// The mount points at or below /media, /run/media/<userName> and /mnt, as
// volumes sorted by name (then mount point).
QList<MountedVolume> volumesAmong(const QStringList& mountPoints, const QString& userName);

// Every mount point of this machine, read from /proc/self/mountinfo on each
// call ("/" alone when it cannot be read). The Trash finds the top folder of a
// volume with it; tests declare fixture folders as mount points.
Seam<QStringList>& mountPoints();

// The user's volumes now: volumesAmong(mountPoints(), the name of userId()).
// Tests substitute fixture folders.
Seam<QList<MountedVolume>>& mountedVolumes();

} // namespace harborlite::platform
