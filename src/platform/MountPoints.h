#pragma once

#include "platform/Seam.h"

#include <QByteArray>
#include <QStringList>

namespace harborlite::platform {

// Where file systems are mounted, read afresh from /proc/self/mountinfo on
// every call (volumes come and go). Tests substitute a fixed list.
Seam<QStringList>& mountPoints();

// The mount points named in the text of a mountinfo file (the fifth field of
// each line), with the kernel's octal escapes ("\040" for a space) decoded.
QStringList parseMountInfo(const QByteArray& text);

} // namespace harborlite::platform
