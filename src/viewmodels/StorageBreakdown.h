#pragma once

#include <QList>
#include <QString>

namespace harborlite {

// How a volume's space is used.
struct StorageBreakdown {
    struct Volume {
        QString name;
        QString role;
        qint64 usedBytes = 0;

        bool operator==(const Volume&) const = default;
    };

    qint64 capacity = 0;
    qint64 free = 0;
    QList<Volume> volumes;
    qint64 purgeable = 0;
    int snapshotCount = 0;

    bool operator==(const StorageBreakdown&) const = default;
};

} // namespace harborlite
