#include "engine/scanners/TrashScanner.h"

#include <QCoreApplication>

#include "engine/models/SizeOrder.h"
#include "platform/Clock.h"
#include "platform/MountedVolumes.h"
#include "platform/Trash.h"
#include "shared/FileSystem.h"

namespace harborlite {

namespace {

QString filesOf(const QString& trashCan)
{
    return FS::join(trashCan, QStringLiteral("files"));
}

} // namespace

CategoryResult TrashScanner::scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const
{
    CategoryResult result;
    result.category = category();

    report(progress, {0.2, QCoreApplication::translate("TrashScanner", "Reading the Trash\u2026"), 0});
    const QList<ScanItem> homeItems = items(filesOf(platform::Trash::homeTrash()),
                                            QCoreApplication::translate("TrashScanner", "Home"), 0, false, isCancelled);
    if (!homeItems.isEmpty()) {
        result.groups.append(
            {.title = QCoreApplication::translate("TrashScanner", "Trash"),
             .subtitle = QCoreApplication::translate("TrashScanner", "Items you already moved to the Trash"),
             .symbol = QStringLiteral("trash"),
             .isOptIn = false,
             .items = homeItems,
             .isExpanded = false});
    }

    report(progress, {0.6, QCoreApplication::translate("TrashScanner", "Checking mounted volumes\u2026"), 0});
    QList<ScanItem> volumeItems;
    for (const platform::MountedVolume& volume : platform::mountedVolumes().get()) {
        if (isCancelled && isCancelled()) {
            break;
        }
        // A volume may hold both the shared and the user's own Trash folder.
        QList<ScanItem> found;
        for (const QString& can : platform::Trash::volumeTrashes(volume.mountPoint)) {
            found += items(filesOf(can), volume.name, 0, false, isCancelled);
        }
        sortBySize(found);
        volumeItems += found;
    }
    if (!volumeItems.isEmpty()) {
        result.groups.append(
            {.title = QCoreApplication::translate("TrashScanner", "Volume Trash"),
             .subtitle = QCoreApplication::translate("TrashScanner", "Trash folders on external and network volumes"),
             .symbol = QStringLiteral("externaldrive.badge.xmark"),
             .isOptIn = false,
             .items = volumeItems,
             .isExpanded = false});
    }

    report(progress, {1.0, QCoreApplication::translate("TrashScanner", "Trash scan complete"), result.totalSize()});
    result.scannedAt = platform::now();
    return result;
}

} // namespace harborlite
