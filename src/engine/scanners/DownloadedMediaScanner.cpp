#include "engine/scanners/DownloadedMediaScanner.h"

#include <QCoreApplication>

#include "engine/models/SizeOrder.h"
#include "engine/safety/SafetyGuard.h"
#include "engine/scanners/ContentWalk.h"
#include "platform/Clock.h"
#include "shared/FileSystem.h"

namespace harborlite {

DownloadedMediaScanner::DownloadedMediaScanner(qint64 minimumSize, std::optional<QList<Source>> sources)
    : minimumSize_(minimumSize)
    , sources_(std::move(sources))
{
}

QList<DownloadedMediaScanner::Source> DownloadedMediaScanner::defaultSources()
{
    const QString home = FS::home();
    const QString library = FS::library();
    const QString containers = FS::join(library, QStringLiteral("Containers"));
    const QString groupContainers = FS::join(library, QStringLiteral("Group Containers"));
    const QString again = QCoreApplication::translate("DownloadedMediaScanner", "Re-downloads from your library");
    return {
        {QCoreApplication::translate("DownloadedMediaScanner", "Podcast Episodes"),
         QCoreApplication::translate("DownloadedMediaScanner", "Downloaded episodes that stream again on demand"),
         QStringLiteral("mic"),
         QCoreApplication::translate("DownloadedMediaScanner", "Streams again on demand"),
         {FS::join(groupContainers, QStringLiteral("243LU875E5.groups.com.apple.podcasts/Library/Cache")),
          FS::join(containers, QStringLiteral("com.apple.podcasts/Data/Library/Caches"))},
         false},
        {QCoreApplication::translate("DownloadedMediaScanner", "TV & Movie Downloads"),
         QCoreApplication::translate("DownloadedMediaScanner", "Offline copies of purchases and rentals"),
         QStringLiteral("tv"),
         again,
         {FS::join(home, QStringLiteral("Movies/TV/Media/Downloads")),
          FS::join(containers, QStringLiteral("com.apple.TV/Data/Library/Caches"))},
         true},
        {QCoreApplication::translate("DownloadedMediaScanner", "Music Downloads"),
         QCoreApplication::translate("DownloadedMediaScanner", "Offline tracks and the Music app's own caches"),
         QStringLiteral("music.note"),
         again,
         {FS::join(home, QStringLiteral("Music/Music/Media/Downloads")),
          FS::join(library, QStringLiteral("Caches/com.apple.Music"))},
         true},
        {QCoreApplication::translate("DownloadedMediaScanner", "Photo Caches"),
         QCoreApplication::translate("DownloadedMediaScanner",
                                     "Thumbnails and iOS sync caches Photos rebuilds when needed"),
         QStringLiteral("photo.stack"),
         QCoreApplication::translate("DownloadedMediaScanner", "Photos rebuilds this"),
         {FS::join(library, QStringLiteral("Caches/com.apple.Photos")),
          FS::join(library, QStringLiteral("Application Support/MobileSync/iOS Photo Cache")),
          FS::join(home, QStringLiteral("Pictures/iPod Photo Cache"))},
         false},
        {QCoreApplication::translate("DownloadedMediaScanner", "Books & Audiobooks"),
         QCoreApplication::translate("DownloadedMediaScanner", "Downloaded titles that remain in your library"),
         QStringLiteral("book"),
         again,
         {FS::join(containers, QStringLiteral("com.apple.BKAgentService/Data/Documents/iBooks/Books")),
          FS::join(containers, QStringLiteral("com.apple.iBooksX/Data/Library/Caches"))},
         true},
    };
}

CategoryResult DownloadedMediaScanner::scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const
{
    const auto cancelled = [&] { return isCancelled && isCancelled(); };
    const QList<Source> sources = sources_.value_or(defaultSources());
    CategoryResult result;
    result.category = category();
    qint64 total = 0;

    const qsizetype n = sources.size();
    const double perSource = 1.0 / double(std::max<qsizetype>(n, 1));
    for (qsizetype i = 0; i < n && !cancelled(); ++i) {
        const Source& source = sources.at(i);
        const QString message =
            QCoreApplication::translate("DownloadedMediaScanner", "Checking %1\u2026").arg(source.title);
        report(progress, {std::clamp(double(i) * perSource, 0.0, 1.0), message, total});

        QList<ScanItem> items;
        auto measure = [&](const QString& location) {
            const qint64 size = FS::size(location, {.descendIntoPackages = true, .isCancelled = isCancelled});
            if (size < minimumSize_) {
                return;
            }
            ScanItem item;
            item.url = location;
            item.displayName = FS::lastPathComponent(location);
            item.origin = FS::abbreviatingHome(FS::parentPath(location));
            item.size = size;
            item.modified = FS::modificationDate(location);
            item.requiresReview = true;
            item.detail = source.detail;
            item.isSelected = false;
            items.append(std::move(item));
        };

        const qsizetype m = source.locations.size();
        for (qsizetype j = 0; j < m; ++j) {
            const QString& location = source.locations.at(j);
            if (!ContentWalk::exists(location)) {
                continue;
            }
            if (cancelled()) {
                break;
            }
            const double fraction = (double(i) + double(j) / double(std::max<qsizetype>(m, 1))) * perSource;
            report(progress, {std::clamp(fraction, 0.0, 1.0), message, total});
            if (!SafetyGuard::verdict(location, true).allowed) {
                continue;
            }
            if (!source.listsChildren) {
                measure(location);
                continue;
            }
            for (const QString& child : FS::children(location, {.includingHidden = false})) {
                if (cancelled()) {
                    break;
                }
                if (SafetyGuard::verdict(child, true).allowed) {
                    measure(child);
                }
            }
        }

        if (items.isEmpty()) {
            continue;
        }
        for (const ScanItem& item : items) {
            total += item.size;
        }
        sortBySize(items);
        result.groups.append({.title = source.title,
                              .subtitle = source.subtitle,
                              .symbol = source.symbol,
                              .isOptIn = true,
                              .items = items,
                              .isExpanded = false});
    }

    report(progress,
           {1.0,
            result.groups.isEmpty() ? QCoreApplication::translate("DownloadedMediaScanner", "No downloaded media found")
                                    : QCoreApplication::translate("DownloadedMediaScanner", "Media scan complete"),
            total});
    result.scannedAt = platform::now();
    return result;
}

} // namespace harborlite
