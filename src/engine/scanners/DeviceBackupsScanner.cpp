#include "engine/scanners/DeviceBackupsScanner.h"

#include <QCoreApplication>

#include "engine/formats/PropertyList.h"
#include "engine/models/SizeOrder.h"
#include "engine/safety/SafetyGuard.h"
#include "platform/Clock.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"

namespace harborlite {

DeviceBackupsScanner::DeviceBackupsScanner(Locations locations)
    : locations_(std::move(locations))
{
}

QStringList DeviceBackupsScanner::backupRoots() const
{
    return locations_.backupRoots.value_or(
        QStringList{FS::join(FS::library(), QStringLiteral("Application Support/MobileSync/Backup"))});
}

QStringList DeviceBackupsScanner::softwareUpdateRoots() const
{
    if (locations_.softwareUpdateRoots) {
        return *locations_.softwareUpdateRoots;
    }
    QStringList roots;
    for (const char* name : {"iPhone Software Updates", "iPad Software Updates", "iPod Software Updates"}) {
        roots.append(FS::join(FS::library(), QStringLiteral("iTunes/") + QLatin1String(name)));
    }
    return roots;
}

DeviceBackupsScanner::BackupInfo DeviceBackupsScanner::backupInfo(const QString& backupFolder)
{
    const std::optional<PropertyList> list =
        PropertyList::fromFile(FS::join(backupFolder, QStringLiteral("Info.plist")));
    if (!list || list->kind() != PropertyList::Kind::Dictionary) {
        return {};
    }
    return {list->string(QStringLiteral("Device Name")), list->string(QStringLiteral("Product Name")),
            list->date(QStringLiteral("Last Backup Date"))};
}

QString DeviceBackupsScanner::describe(const BackupInfo& info)
{
    QStringList parts;
    if (info.productName) {
        parts.append(*info.productName);
    }
    if (info.date) {
        parts.append(QCoreApplication::translate("DeviceBackupsScanner", "last backed up %1")
                         .arg(Format::relativeDate(*info.date)));
    }
    return parts.isEmpty() ? QCoreApplication::translate("DeviceBackupsScanner", "Local backup of a device")
                           : parts.join(QStringLiteral(" \u00b7 "));
}

CategoryResult DeviceBackupsScanner::scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const
{
    const auto cancelled = [&] { return isCancelled && isCancelled(); };
    CategoryResult result;
    result.category = category();
    qint64 total = 0;

    auto addGroup = [&](QList<ScanItem> items, const QString& title, const QString& subtitle, const QString& symbol) {
        if (items.isEmpty()) {
            return;
        }
        sortBySize(items);
        result.groups.append({.title = title,
                              .subtitle = subtitle,
                              .symbol = symbol,
                              .isOptIn = true,
                              .items = items,
                              .isExpanded = false});
    };

    report(progress, {0.1, QCoreApplication::translate("DeviceBackupsScanner", "Looking for device backups\u2026"), 0});
    QList<ScanItem> backups;
    bool stopped = false;
    for (const QString& root : backupRoots()) {
        if (stopped || !FS::isDirectory(root)) {
            continue;
        }
        const QStringList children = FS::children(root, {.includingHidden = false});
        const qsizetype n = children.size();
        for (qsizetype i = 0; i < n; ++i) {
            if (cancelled()) {
                stopped = true;
                break;
            }
            const QString& child = children.at(i);
            if (!FS::isDirectory(child) || !SafetyGuard::verdict(child, true).allowed) {
                continue;
            }
            report(progress,
                   {std::clamp(0.1 + 0.5 * double(i) / double(std::max<qsizetype>(n, 1)), 0.0, 1.0),
                    QCoreApplication::translate("DeviceBackupsScanner", "Measuring backup %1 of %2\u2026")
                        .arg(QString::number(i + 1), QString::number(n)),
                    total});
            const qint64 size = FS::size(child, {.descendIntoPackages = true, .isCancelled = isCancelled});
            if (size <= 0) {
                continue;
            }
            total += size;
            const BackupInfo info = backupInfo(child);
            ScanItem item;
            item.url = child;
            item.displayName = info.deviceName.value_or(FS::lastPathComponent(child));
            item.origin = FS::abbreviatingHome(root);
            item.size = size;
            item.modified = info.date ? info.date : FS::modificationDate(child);
            item.requiresReview = true;
            item.detail = describe(info);
            item.isSelected = false;
            backups.append(std::move(item));
        }
    }
    addGroup(backups, QCoreApplication::translate("DeviceBackupsScanner", "Device Backups"),
             QCoreApplication::translate("DeviceBackupsScanner", "Full iPhone and iPad backups stored on this Mac"),
             QStringLiteral("iphone.gen3"));
    if (cancelled()) {
        result.scannedAt = platform::now();
        return result;
    }

    report(
        progress,
        {0.7, QCoreApplication::translate("DeviceBackupsScanner", "Looking for device software updates\u2026"), total});
    QList<ScanItem> updates;
    for (const QString& root : softwareUpdateRoots()) {
        if (!FS::isDirectory(root)) {
            continue;
        }
        for (const QString& child : FS::children(root, {.includingHidden = false})) {
            if (cancelled()) {
                break;
            }
            if (!SafetyGuard::verdict(child, true).allowed) {
                continue;
            }
            const qint64 size = FS::size(child, {.descendIntoPackages = true, .isCancelled = isCancelled});
            if (size <= 0) {
                continue;
            }
            total += size;
            ScanItem item;
            item.url = child;
            item.displayName = FS::lastPathComponent(child);
            item.origin = FS::abbreviatingHome(root);
            item.size = size;
            item.modified = FS::modificationDate(child);
            item.requiresReview = true;
            item.detail =
                QCoreApplication::translate("DeviceBackupsScanner", "Downloaded again when a device needs it");
            item.isSelected = false;
            updates.append(std::move(item));
        }
    }
    addGroup(updates, QCoreApplication::translate("DeviceBackupsScanner", "Device Software Updates"),
             QCoreApplication::translate("DeviceBackupsScanner", "iOS and iPadOS restore images kept after an update"),
             QStringLiteral("arrow.down.circle"));

    report(progress,
           {1.0,
            result.groups.isEmpty() ? QCoreApplication::translate("DeviceBackupsScanner", "No device backups found")
                                    : QCoreApplication::translate("DeviceBackupsScanner", "Backup scan complete"),
            total});
    result.scannedAt = platform::now();
    return result;
}

} // namespace harborlite
