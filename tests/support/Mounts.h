#pragma once

#include "platform/MountTable.h"

#include <QStringList>

namespace harborlite::test {

// A mount table with one ext4 entry per mount point, devices numbered in order.
QList<platform::MountEntry> mountsAt(const QStringList& points);

} // namespace harborlite::test
