#pragma once

#include <QtGlobal>

namespace harborlite {

// The local snapshots on a volume and the space the system could free there.
struct LocalSnapshots {
    int count = 0;
    qint64 purgeableBytes = 0;

    bool operator==(const LocalSnapshots&) const = default;
};

} // namespace harborlite
