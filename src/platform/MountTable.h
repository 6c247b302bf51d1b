#pragma once

#include "platform/Seam.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <sys/types.h>

namespace harborlite::platform {

// One mounted file system.
struct MountEntry {
    QString mountPoint;
    // As the kernel names it ("ext4", "tmpfs", "devtmpfs"...).
    QString fileSystemType;
    // The device number stat() reports for files on it.
    dev_t device = 0;
    // What is mounted, as the kernel names it: a device ("/dev/vda2"), a
    // server's share ("host:/export"), or a word ("tmpfs", "overlay").
    QString source = {};

    bool operator==(const MountEntry&) const = default;
};

// The mounted file systems, read afresh from /proc/self/mountinfo on every
// call (volumes come and go). This is the one reader of the mount table; tests
// substitute a fixed list.
Seam<QList<MountEntry>>& mountTable();

// The entries of a mountinfo text, with the kernel's octal escapes ("\040" for
// a space) decoded; malformed lines are left out.
QList<MountEntry> parseMountInfo(const QByteArray& text);

// The mount points of mountTable(), in its order.
QStringList mountPoints();

// The file-system type of the mount with this device number; empty when none has it.
QString fileSystemTypeOf(dev_t device);

// Whether files of this type live on another machine, so that any access may
// wait on the network for as long as the server stays away.
bool isNetworkFileSystem(const QString& type);

} // namespace harborlite::platform
