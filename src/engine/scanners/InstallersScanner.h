#pragma once

#include "engine/scanners/CategoryScanner.h"

#include <QSet>
#include <QStringList>

#include <optional>

namespace harborlite {

// Installer packages, disk images and archives left alone in the first level of
// the user's Downloads, Desktop and Documents, and full system installers and
// update payloads. Installers whose application is installed say so. Three
// opt-in groups; every item is to be reviewed and starts deselected.
class InstallersScanner : public CategoryScanner {
public:
    struct Locations {
        // Searched one level deep; default: the home folder's Downloads, Desktop, Documents.
        std::optional<QStringList> searchRoots;
        // Whose applications count as installed; default: /Applications and ~/Applications.
        std::optional<QStringList> applicationFolders;
        // Where full system installers lie; default: /Applications.
        std::optional<QString> systemInstallers;
        // Update payloads; default: ~/Library/Updates.
        std::optional<QString> updates;
    };

    explicit InstallersScanner(qint64 minimumSize = 5'000'000, int settleAfterDays = 14, Locations locations = {});

    ScanCategory category() const override { return ScanCategory::installers; }
    CategoryResult scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const override;

    qint64 minimumSize() const { return minimumSize_; }
    int settleAfterDays() const { return settleAfterDays_; }

    // Lower-case file-name extensions; a two-part entry matches the last two.
    // The Linux formats follow the others.
    static const QStringList& installerExtensions();
    static const QStringList& archiveExtensions();

    // The matching key of a name: lower case, letters, marks and numbers of any
    // script only, decimal digits trimmed from both ends ("Firefox 121.0" gives
    // "firefox", "123" gives "").
    static QString normalise(const QString& name);
    // The installed name (a key) the file belongs to: the first non-empty one,
    // in sorted order, that is a prefix of the key of the file's name without
    // its last extension; none for an empty key.
    static std::optional<QString> matchingApplication(const QString& file, const QSet<QString>& installed);

private:
    QStringList searchRoots() const;
    QSet<QString> installedApplicationNames() const;
    QStringList systemUpdateLocations() const;

    qint64 minimumSize_;
    int settleAfterDays_;
    Locations locations_;
};

} // namespace harborlite
