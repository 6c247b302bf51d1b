#pragma once

#include "engine/scanners/CategoryScanner.h"

#include <QDateTime>
#include <QStringList>

#include <optional>

namespace harborlite {

// Local backups of phones and tablets (one folder per device, named from the
// backup's Info.plist) and the device software updates a sync application
// leaves behind. Both groups are opt-in; every item is to be reviewed and
// starts deselected. Not part of the smart scan.
class DeviceBackupsScanner : public CategoryScanner {
public:
    struct Locations {
        // Default: ~/Library/Application Support/MobileSync/Backup.
        std::optional<QStringList> backupRoots;
        // Default: the iPhone, iPad and iPod software-update folders of ~/Library/iTunes.
        std::optional<QStringList> softwareUpdateRoots;
    };

    // What a backup's Info.plist says about it; a field is absent when the list
    // is missing, malformed or gives the key another type.
    struct BackupInfo {
        std::optional<QString> deviceName;
        std::optional<QString> productName;
        std::optional<QDateTime> date;
    };

    explicit DeviceBackupsScanner(Locations locations = {});

    ScanCategory category() const override { return ScanCategory::deviceBackups; }
    CategoryResult scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const override;

    static BackupInfo backupInfo(const QString& backupFolder);
    // The product name and "last backed up <relative date>", joined by " · ";
    // "Local backup of a device" when neither is known.
    static QString describe(const BackupInfo& info);

private:
    QStringList backupRoots() const;
    QStringList softwareUpdateRoots() const;

    Locations locations_;
};

} // namespace harborlite
