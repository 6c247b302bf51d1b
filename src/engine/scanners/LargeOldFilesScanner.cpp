#include "engine/scanners/LargeOldFilesScanner.h"

#include "engine/models/SizeOrder.h"
#include "engine/scanners/ContentWalk.h"
#include "platform/Clock.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"

#include <QCoreApplication>
#include <QMimeDatabase>

#include <map>

namespace harborlite {

namespace {

bool isOneOf(const QString& name, std::initializer_list<const char*> names)
{
    for (const char* candidate : names) {
        if (name == QLatin1String(candidate)) {
            return true;
        }
    }
    return false;
}

// Office and e-book formats are zip files inside, but documents to the user.
bool isDocumentFormat(const QString& name)
{
    return name.startsWith(QLatin1String("application/vnd.openxmlformats-officedocument."))
        || name.startsWith(QLatin1String("application/vnd.oasis.opendocument."))
        || name.startsWith(QLatin1String("application/vnd.ms-"))
        || isOneOf(name,
                   {"application/pdf", "application/postscript", "application/rtf", "application/msword",
                    "application/epub+zip", "application/vnd.apple.pages", "application/vnd.apple.numbers",
                    "application/vnd.apple.keynote"});
}

bool isArchiveFormat(const QString& name)
{
    return isOneOf(name,
                   {"application/zip",
                    "application/x-tar",
                    "application/gzip",
                    "application/x-bzip",
                    "application/x-bzip2",
                    "application/x-xz",
                    "application/x-7z-compressed",
                    "application/vnd.rar",
                    "application/x-rar",
                    "application/zstd",
                    "application/x-lzma",
                    "application/x-lzip",
                    "application/x-compress",
                    "application/x-cpio",
                    "application/x-archive",
                    "application/vnd.debian.binary-package",
                    "application/x-rpm",
                    "application/x-apple-diskimage",
                    "application/x-raw-disk-image",
                    "application/x-cd-image",
                    "application/x-vmdk-disk",
                    "application/x-qemu-disk",
                    "application/x-vdi-disk",
                    "application/x-vhd-disk",
                    "application/x-vhdx-disk"});
}

// The type itself or any type it is a kind of.
template <typename Test>
bool conforms(const QMimeType& type, Test test)
{
    if (test(type.name())) {
        return true;
    }
    const QStringList ancestors = type.allAncestors();
    return std::any_of(ancestors.begin(), ancestors.end(), test);
}

auto mediaPrefix(const char* prefix)
{
    return [prefix](const QString& name) { return name.startsWith(QLatin1String(prefix)); };
}

// Linux keeps an access time that can lag behind the last change (noatime
// mounts), so a file changed yesterday must not read as unused for years.
QDateTime lastUse(const ContentEntry& entry)
{
    return entry.accessedMSecs >= entry.modifiedMSecs ? entry.accessed() : entry.modified();
}

} // namespace

LargeOldFilesScanner::LargeOldFilesScanner(qint64 minimumSize, int staleAfterDays, std::optional<QStringList> roots)
    : minimumSize_(minimumSize)
    , staleAfterDays_(staleAfterDays)
    , roots_(std::move(roots))
{
}

QStringList LargeOldFilesScanner::searchRoots() const
{
    return ContentWalk::existingRoots(roots_, ContentWalk::contentFolders());
}

LargeOldFilesScanner::FileKind LargeOldFilesScanner::fileKind(const QMimeType& type)
{
    if (!type.isValid() || type.isDefault()) {
        return FileKind::other;
    }
    if (!isDocumentFormat(type.name()) && conforms(type, isArchiveFormat)) {
        return FileKind::archive;
    }
    if (conforms(type, mediaPrefix("video/"))) {
        return FileKind::video;
    }
    if (conforms(type, mediaPrefix("image/"))) {
        return FileKind::image;
    }
    if (conforms(type, mediaPrefix("audio/"))) {
        return FileKind::audio;
    }
    if (conforms(type, isDocumentFormat) || conforms(type, mediaPrefix("text/"))) {
        return FileKind::document;
    }
    return FileKind::other;
}

QString LargeOldFilesScanner::title(FileKind kind)
{
    switch (kind) {
    case FileKind::archive:
        return QCoreApplication::translate("LargeOldFilesScanner", "Archives & Disk Images");
    case FileKind::video:
        return QCoreApplication::translate("LargeOldFilesScanner", "Videos");
    case FileKind::image:
        return QCoreApplication::translate("LargeOldFilesScanner", "Images");
    case FileKind::audio:
        return QCoreApplication::translate("LargeOldFilesScanner", "Audio");
    case FileKind::document:
        return QCoreApplication::translate("LargeOldFilesScanner", "Documents");
    case FileKind::bundle:
        return QCoreApplication::translate("LargeOldFilesScanner", "Bundles & Libraries");
    case FileKind::other:
        break;
    }
    return QCoreApplication::translate("LargeOldFilesScanner", "Other Files");
}

QString LargeOldFilesScanner::subtitle(FileKind kind)
{
    switch (kind) {
    case FileKind::archive:
        return QCoreApplication::translate("LargeOldFilesScanner", "Installers and zips you already used");
    case FileKind::video:
        return QCoreApplication::translate("LargeOldFilesScanner", "Large recordings and downloads");
    case FileKind::image:
        return QCoreApplication::translate("LargeOldFilesScanner", "High resolution images and raw files");
    case FileKind::audio:
        return QCoreApplication::translate("LargeOldFilesScanner", "Long recordings and lossless audio");
    case FileKind::document:
        return QCoreApplication::translate("LargeOldFilesScanner", "Big documents and exports");
    case FileKind::bundle:
        return QCoreApplication::translate("LargeOldFilesScanner", "Project packages and media libraries");
    case FileKind::other:
        break;
    }
    return QCoreApplication::translate("LargeOldFilesScanner", "Everything else over the size threshold");
}

QString LargeOldFilesScanner::symbol(FileKind kind)
{
    switch (kind) {
    case FileKind::archive:
        return QStringLiteral("doc.zipper");
    case FileKind::video:
        return QStringLiteral("film");
    case FileKind::image:
        return QStringLiteral("photo");
    case FileKind::audio:
        return QStringLiteral("waveform");
    case FileKind::document:
        return QStringLiteral("doc.richtext");
    case FileKind::bundle:
        return QStringLiteral("cube.box");
    case FileKind::other:
        break;
    }
    return QStringLiteral("questionmark.folder");
}

CategoryResult LargeOldFilesScanner::scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const
{
    const QDateTime cutOff = platform::now().addSecs(qint64(staleAfterDays_) * -86400);
    std::map<FileKind, QList<ScanItem>> found;
    qint64 total = 0;
    const QStringList roots = searchRoots();
    const QMimeDatabase mimeTypes;

    auto add = [&](const ContentEntry& entry, qint64 size, const QDateTime& date, FileKind kind) {
        total += size;
        ScanItem item;
        item.url = entry.path;
        item.displayName = entry.name;
        item.origin = FS::abbreviatingHome(FS::parentPath(entry.path));
        item.size = size;
        item.modified = date;
        item.requiresReview = true;
        item.detail =
            QCoreApplication::translate("LargeOldFilesScanner", "Last opened %1").arg(Format::relativeDate(date));
        item.isSelected = false;
        found[kind].append(std::move(item));
    };

    ContentWalk walk(isCancelled);
    const qsizetype n = roots.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (isCancelled && isCancelled()) {
            break;
        }
        const QString& root = roots.at(i);
        report(
            progress,
            {std::clamp(double(i) / double(std::max<qsizetype>(n, 1)), 0.0, 1.0),
             QCoreApplication::translate("LargeOldFilesScanner", "Scanning %1\u2026").arg(FS::lastPathComponent(root)),
             total});
        const bool finished = walk.walk(root, [&](const ContentEntry& entry) {
            if (entry.kind == ContentEntry::Kind::package) {
                const qint64 size = FS::size(entry.path, {.descendIntoPackages = true, .isCancelled = isCancelled});
                const QDateTime date = lastUse(entry);
                if (size >= minimumSize_ && date < cutOff) {
                    add(entry, size, date, FileKind::bundle);
                }
                return false;
            }
            if (entry.kind != ContentEntry::Kind::file) {
                return true;
            }
            const QDateTime date = lastUse(entry);
            if (entry.allocatedSize < minimumSize_ || !(date < cutOff)) {
                return false;
            }
            add(entry, entry.allocatedSize, date, fileKind(mimeTypes.mimeTypeForFile(entry.path)));
            return false;
        });
        if (!finished) {
            break;
        }
    }

    CategoryResult result;
    result.category = category();
    for (FileKind kind : allKinds) {
        auto it = found.find(kind);
        if (it == found.end()) {
            continue;
        }
        QList<ScanItem> items = it->second;
        sortBySize(items);
        result.groups.append({.title = title(kind),
                              .subtitle = subtitle(kind),
                              .symbol = symbol(kind),
                              .isOptIn = true,
                              .items = items,
                              .isExpanded = false});
    }
    report(progress,
           {1.0, QCoreApplication::translate("LargeOldFilesScanner", "Large & old files scan complete"), total});
    result.scannedAt = platform::now();
    return result;
}

} // namespace harborlite
