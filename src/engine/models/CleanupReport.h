#pragma once

#include <QList>
#include <QString>

namespace harborlite {

// What one removal run reclaimed and what it could not remove.
struct CleanupReport {
    struct Failure {
        QString url;
        QString reason;
    };

    qint64 reclaimed = 0;
    int removed = 0;
    QList<Failure> failures;
    double duration = 0;
};

} // namespace harborlite
