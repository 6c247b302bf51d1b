#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>

#include <optional>

namespace harborlite {

// One reclaimable file or folder. Equality covers every field, the identifier
// included, so two scans of one file never give equal items.
struct ScanItem {
    QUuid id = QUuid::createUuid();
    QString url;
    QString displayName;
    std::optional<QString> origin;
    qint64 size = 0;
    std::optional<QDateTime> modified;
    bool requiresReview = false;
    std::optional<QString> detail;
    bool isSelected = true;

    bool operator==(const ScanItem&) const = default;
};

} // namespace harborlite
