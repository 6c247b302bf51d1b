#pragma once

#include <QString>

namespace harborlite {

// A progress report of a running scan; every report is complete.
struct ScanProgress {
    double fraction = 0;
    QString message;
    qint64 bytesFound = 0;
};

} // namespace harborlite
