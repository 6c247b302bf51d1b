#include "engine/scanners/InstallersScanner.h"

#include "engine/models/SizeOrder.h"
#include "engine/safety/SafetyGuard.h"
#include "engine/scanners/ContentWalk.h"
#include "platform/Clock.h"
#include "platform/PathText.h"
#include "platform/SystemRoots.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"

#include <QCoreApplication>
#include <sys/stat.h>

namespace harborlite {

namespace {

// Text after the last dot of a name; none for a name without one or starting with it.
QString extensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.mid(dot + 1) : QString();
}

QString withoutExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

bool endsWithExtension(const QString& lowerName, const QStringList& extensions)
{
    for (const QString& extension : extensions) {
        if (lowerName.endsWith(QLatin1Char('.') + extension)) {
            return true;
        }
    }
    return false;
}

QDateTime dateOf(const timespec& ts)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000, Qt::UTC);
}

QList<ScanItem> sorted(QList<ScanItem> items)
{
    sortBySize(items);
    return items;
}

} // namespace

InstallersScanner::InstallersScanner(qint64 minimumSize, int settleAfterDays, Locations locations)
    : minimumSize_(minimumSize)
    , settleAfterDays_(settleAfterDays)
    , locations_(std::move(locations))
{
}

const QStringList& InstallersScanner::installerExtensions()
{
    static const QStringList extensions = {
        QStringLiteral("dmg"),      QStringLiteral("pkg"),        QStringLiteral("mpkg"), QStringLiteral("iso"),
        QStringLiteral("xip"),      QStringLiteral("app.zip"),    QStringLiteral("deb"),  QStringLiteral("rpm"),
        QStringLiteral("appimage"), QStringLiteral("flatpakref"), QStringLiteral("snap"),
    };
    return extensions;
}

const QStringList& InstallersScanner::archiveExtensions()
{
    static const QStringList extensions = {
        QStringLiteral("zip"), QStringLiteral("tar"), QStringLiteral("gz"), QStringLiteral("tgz"),
        QStringLiteral("bz2"), QStringLiteral("xz"),  QStringLiteral("7z"), QStringLiteral("rar"),
    };
    return extensions;
}

QString InstallersScanner::normalise(const QString& name)
{
    QList<char32_t> kept;
    for (char32_t c : name.toLower().toUcs4()) {
        if (QChar::isLetterOrNumber(c) || QChar::isMark(c)) {
            kept.append(c);
        }
    }
    qsizetype begin = 0;
    qsizetype end = kept.size();
    while (begin < end && QChar::isDigit(kept.at(begin))) {
        ++begin;
    }
    while (end > begin && QChar::isDigit(kept.at(end - 1))) {
        --end;
    }
    return QString::fromUcs4(kept.constData() + begin, end - begin);
}

std::optional<QString> InstallersScanner::matchingApplication(const QString& file, const QSet<QString>& installed)
{
    const QString key = normalise(withoutExtension(FS::lastPathComponent(file)));
    if (key.isEmpty()) {
        return std::nullopt;
    }
    QStringList names(installed.begin(), installed.end());
    names.sort();
    for (const QString& name : names) {
        if (!name.isEmpty() && key.startsWith(name)) {
            return name;
        }
    }
    return std::nullopt;
}

QStringList InstallersScanner::searchRoots() const
{
    return ContentWalk::existingRoots(
        locations_.searchRoots, {QStringLiteral("Downloads"), QStringLiteral("Desktop"), QStringLiteral("Documents")});
}

QSet<QString> InstallersScanner::installedApplicationNames() const
{
    const QStringList folders = locations_.applicationFolders.value_or(
        QStringList{roots::applications, FS::join(FS::home(), QStringLiteral("Applications"))});
    QSet<QString> names;
    for (const QString& folder : folders) {
        for (const QString& child : FS::children(folder, {.includingHidden = false})) {
            const QString name = FS::lastPathComponent(child);
            if (extensionOf(name) == QLatin1String("app")) {
                names.insert(normalise(withoutExtension(name)));
            }
        }
    }
    return names;
}

QStringList InstallersScanner::systemUpdateLocations() const
{
    QStringList result;
    for (const QString& child :
         FS::children(locations_.systemInstallers.value_or(roots::applications), {.includingHidden = false})) {
        const QString name = FS::lastPathComponent(child);
        if (name.startsWith(QLatin1String("Install macOS")) && extensionOf(name) == QLatin1String("app")) {
            result.append(child);
        }
    }
    const QString updates = locations_.updates.value_or(FS::join(FS::library(), QStringLiteral("Updates")));
    if (FS::isDirectory(updates)) {
        result += FS::children(updates, {.includingHidden = false});
    }
    return result;
}

CategoryResult InstallersScanner::scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const
{
    const auto cancelled = [&] { return isCancelled && isCancelled(); };
    const QDateTime cutOff = platform::now().addSecs(qint64(settleAfterDays_) * -86400);
    const QSet<QString> installed = installedApplicationNames();
    const QStringList roots = searchRoots();
    QList<ScanItem> installers;
    QList<ScanItem> archives;
    QList<ScanItem> systemInstallers;
    qint64 total = 0;

    auto makeItem = [](const QString& location, const QString& origin, qint64 size,
                       const std::optional<QDateTime>& modified, const QString& detail) {
        ScanItem item;
        item.url = location;
        item.displayName = FS::lastPathComponent(location);
        item.origin = origin;
        item.size = size;
        item.modified = modified;
        item.requiresReview = true;
        item.detail = detail;
        item.isSelected = false;
        return item;
    };

    const qsizetype n = roots.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (cancelled()) {
            break;
        }
        const QString& root = roots.at(i);
        report(progress,
               {std::clamp(0.8 * double(i) / double(std::max<qsizetype>(n, 1)), 0.0, 1.0),
                QCoreApplication::translate("InstallersScanner", "Scanning %1\u2026").arg(FS::lastPathComponent(root)),
                total});
        for (const QString& child : FS::children(root, {.includingHidden = false})) {
            if (cancelled()) {
                break;
            }
            struct stat st { };
            if (::lstat(platform::pathBytes(child).constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
                continue;
            }
            const qint64 size = qint64(st.st_blocks) * 512;
            const QDateTime modified = dateOf(st.st_mtim);
            if (size < minimumSize_ || !(modified < cutOff)) {
                continue;
            }
            if (!SafetyGuard::verdict(child, true).allowed) {
                continue;
            }
            const QString lowerName = FS::lastPathComponent(child).toLower();
            const bool isInstaller = endsWithExtension(lowerName, installerExtensions());
            if (!isInstaller && !endsWithExtension(lowerName, archiveExtensions())) {
                continue;
            }
            total += size;
            const std::optional<QString> match = isInstaller ? matchingApplication(child, installed) : std::nullopt;
            const QString detail = match
                ? QCoreApplication::translate("InstallersScanner", "%1 is already installed").arg(*match)
                : QCoreApplication::translate("InstallersScanner", "Downloaded %1").arg(Format::relativeDate(modified));
            (isInstaller ? installers : archives)
                .append(makeItem(child, FS::abbreviatingHome(root), size, modified, detail));
        }
    }

    if (!cancelled()) {
        report(
            progress,
            {0.85, QCoreApplication::translate("InstallersScanner", "Checking system update downloads\u2026"), total});
        for (const QString& location : systemUpdateLocations()) {
            const qint64 size = FS::size(location, {.descendIntoPackages = true, .isCancelled = isCancelled});
            if (size < minimumSize_ || !SafetyGuard::verdict(location, true).allowed) {
                continue;
            }
            total += size;
            systemInstallers.append(
                makeItem(location, FS::abbreviatingHome(FS::parentPath(location)), size, FS::modificationDate(location),
                         QCoreApplication::translate("InstallersScanner", "macOS can download this again")));
        }
    }

    CategoryResult result;
    result.category = category();
    auto addGroup = [&](const QList<ScanItem>& items, const QString& title, const QString& subtitle,
                        const char* symbol) {
        if (items.isEmpty()) {
            return;
        }
        result.groups.append({.title = title,
                              .subtitle = subtitle,
                              .symbol = QString::fromUtf8(symbol),
                              .isOptIn = true,
                              .items = sorted(items),
                              .isExpanded = false});
    };
    addGroup(installers, QCoreApplication::translate("InstallersScanner", "Installers & Disk Images"),
             QCoreApplication::translate("InstallersScanner",
                                         "Packages and disk images for software you have already installed"),
             "opticaldiscdrive");
    addGroup(archives, QCoreApplication::translate("InstallersScanner", "Downloaded Archives"),
             QCoreApplication::translate("InstallersScanner",
                                         "Zips and tarballs you have already extracted or can fetch again"),
             "doc.zipper");
    addGroup(
        systemInstallers, QCoreApplication::translate("InstallersScanner", "macOS Installers"),
        QCoreApplication::translate("InstallersScanner", "Full system installers and update payloads left on disk"),
        "arrow.down.circle");
    report(progress,
           {1.0,
            result.groups.isEmpty() ? QCoreApplication::translate("InstallersScanner", "No installers found")
                                    : QCoreApplication::translate("InstallersScanner", "Installer scan complete"),
            total});
    result.scannedAt = platform::now();
    return result;
}

} // namespace harborlite
