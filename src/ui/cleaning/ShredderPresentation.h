#pragma once

#include "engine/models/CleanupReport.h"

#include <QString>

// The Shredder screen's texts, as plain values.
namespace harborlite::ShredderPresentation {

// "<n> item(s) · <size>".
QString barTitle(qsizetype targets, qint64 totalSize);
// "Permanently destroy <n> item(s)?".
QString dialogTitle(qsizetype targets);
// "Shred <size>".
QString destroyButtonTitle(qint64 totalSize);

struct Banner {
    QString title;
    QString message;
    bool isError;

    bool operator==(const Banner&) const = default;
};

// "Shredded" or "Shredded with skips", "<n> item(s) destroyed, <size>
// reclaimed." and, with failures, " <k> item(s) were protected and left alone.".
Banner banner(const CleanupReport& report);

} // namespace harborlite::ShredderPresentation
