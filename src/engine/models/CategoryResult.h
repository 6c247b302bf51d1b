#pragma once

#include "engine/models/ScanCategory.h"
#include "engine/models/ScanGroup.h"

namespace harborlite {

// One category's scan result; at most one per category wherever results are kept.
struct CategoryResult {
    ScanCategory category = ScanCategory::systemJunk;
    QList<ScanGroup> groups;
    QDateTime scannedAt;

    QString id() const { return rawValue(category); }
    qint64 totalSize() const;
    int itemCount() const;
    int selectedCount() const;
};

} // namespace harborlite
