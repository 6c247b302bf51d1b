#include "engine/scanners/SystemJunkScanner.h"

#include "engine/formats/NoFollow.h"
#include "engine/formats/PropertyList.h"
#include "engine/models/SizeOrder.h"
#include "engine/scanners/ScanSteps.h"
#include "platform/Clock.h"
#include "shared/FileSystem.h"

#include <QCoreApplication>
#include <QSet>

namespace harborlite {

namespace {

using namespace NoFollow;
using namespace ScanSteps;

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A phase that lists the immediate children of its roots, each child one item.
struct FolderPhase {
    double start;
    const char* message;
    QStringList roots;
    const char* title;
    const char* subtitle;
    const char* symbol;
};

// Where Linux keeps the same kind of data, listed after the Library's roots.
// The literal folder, not $XDG_CACHE_HOME: a variable naming the home folder
// itself would offer every entry of the home as a cache.
QStringList linuxUserCaches()
{
    return {FS::join(FS::home(), text(".cache"))};
}

QList<FolderPhase> folderPhases(const QString& library, const QString& sharedLibrary)
{
    return {
        {0.05, QT_TRANSLATE_NOOP("SystemJunkScanner", "Reading user caches\u2026"),
         QStringList{FS::join(library, text("Caches"))} + linuxUserCaches(),
         QT_TRANSLATE_NOOP("SystemJunkScanner", "User Cache Files"),
         QT_TRANSLATE_NOOP("SystemJunkScanner", "Rebuilt automatically the next time each app runs"), "internaldrive"},
        {0.2,
         QT_TRANSLATE_NOOP("SystemJunkScanner", "Reading system caches\u2026"),
         {FS::join(sharedLibrary, text("Caches"))},
         QT_TRANSLATE_NOOP("SystemJunkScanner", "System Cache Files"),
         QT_TRANSLATE_NOOP("SystemJunkScanner", "Shared caches under /Library"),
         "gearshape.2"},
        {0.35,
         QT_TRANSLATE_NOOP("SystemJunkScanner", "Collecting logs\u2026"),
         {FS::join(library, text("Logs")), FS::join(sharedLibrary, text("Logs"))},
         QT_TRANSLATE_NOOP("SystemJunkScanner", "Log Files"),
         QT_TRANSLATE_NOOP("SystemJunkScanner", "Diagnostic output from apps and the system"),
         "doc.text"},
        {0.5,
         QT_TRANSLATE_NOOP("SystemJunkScanner", "Checking saved application state\u2026"),
         {FS::join(library, text("Saved Application State"))},
         QT_TRANSLATE_NOOP("SystemJunkScanner", "Saved Application State"),
         QT_TRANSLATE_NOOP("SystemJunkScanner", "Window layouts restored when apps reopen"),
         "macwindow.on.rectangle"},
    };
}

struct DeveloperEntry {
    const char* origin;
    const char* folder; // below Library/Developer
    bool requiresReview;
};

constexpr DeveloperEntry developerEntries[] = {
    {QT_TRANSLATE_NOOP("SystemJunkScanner", "Xcode Derived Data"), "Xcode/DerivedData", false},
    {QT_TRANSLATE_NOOP("SystemJunkScanner", "iOS Device Support"), "Xcode/iOS DeviceSupport", true},
    {QT_TRANSLATE_NOOP("SystemJunkScanner", "Simulator Caches"), "CoreSimulator/Caches", false},
    {QT_TRANSLATE_NOOP("SystemJunkScanner", "Xcode Archives"), "Xcode/Archives", true},
};

struct PackageManagerEntry {
    const char* name;
    bool inLibrary; // else below the home folder
    const char* folder;
};

constexpr PackageManagerEntry packageManagerEntries[] = {
    {"Homebrew", true, "Caches/Homebrew"},
    {"npm", false, ".npm/_cacache"},
    {"Yarn", true, "Caches/Yarn"},
    {"pnpm", true, "Caches/pnpm"},
    {"pip", true, "Caches/pip"},
    {"CocoaPods", true, "Caches/CocoaPods"},
    {"Gradle", false, ".gradle/caches"},
    {"Cargo", false, ".cargo/registry/cache"},
    {"Go modules", false, "go/pkg/mod/cache/download"},
    {"Docker", true, "Containers/com.docker.docker/Data/log"},
};

// Old text-format lists start with a dictionary or an array; the reader
// cannot parse them, which says nothing about whether they are broken.
bool isTextFormatList(const QByteArray& bytes)
{
    for (const char c : bytes) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
            continue;
        }
        return c == '{' || c == '(';
    }
    return false;
}

enum class PreferenceState { unjudged, unreadable, wellFormed };

PreferenceState judgePreferenceFile(const QString& location)
{
    // Only a file is judged: a folder or a link under a list's name is left alone.
    if (entryType(location) != EntryType::file) {
        return PreferenceState::unjudged;
    }
    const FileBytes file = readFile(location, PropertyList::maxFileBytes);
    switch (file.status) {
    case FileBytes::Status::notAFile:
    case FileBytes::Status::tooLarge:
        return PreferenceState::unjudged;
    case FileBytes::Status::unreadable:
        return PreferenceState::unreadable;
    case FileBytes::Status::read:
        break;
    }
    if (isTextFormatList(file.bytes)) {
        return PreferenceState::unjudged;
    }
    return PropertyList::fromBytes(file.bytes) ? PreferenceState::wellFormed : PreferenceState::unreadable;
}

} // namespace

SystemJunkScanner::SystemJunkScanner(QString sharedLibrary, AppCatalog catalog,
                                     std::chrono::milliseconds reportInterval)
    : sharedLibrary_(std::move(sharedLibrary))
    , catalog_(std::move(catalog))
    , reportInterval_(reportInterval)
{
}

CategoryResult SystemJunkScanner::scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const
{
    CategoryResult result;
    result.category = category();
    qint64 runningTotal = 0;
    // A package manager's cache also sits among the user caches: each location
    // is offered once, in the first group that finds it, so it is neither
    // counted twice nor removed twice.
    QSet<QString> offered;
    const auto offer = [&](ScanGroup group) {
        group.items.removeIf([&](const ScanItem& entry) {
            if (offered.contains(entry.url)) {
                return true;
            }
            offered.insert(entry.url);
            return false;
        });
        for (const ScanItem& entry : group.items) {
            runningTotal += entry.size;
        }
        appendIfAny(result.groups, std::move(group));
    };
    const auto send = [&](double fraction, const QString& message) {
        report(progress, {clamped(fraction), message, runningTotal});
    };

    for (const FolderPhase& phase : folderPhases(FS::library(), sharedLibrary_)) {
        const QString message = QCoreApplication::translate("SystemJunkScanner", phase.message);
        send(phase.start, message);
        const double count = double(phase.roots.size());
        QList<ScanItem> found;
        qint64 entriesBefore = 0;
        for (qsizetype k = 0; k < phase.roots.size(); ++k) {
            qint64 entriesHere = 0;
            found += items(
                phase.roots.at(k), std::nullopt, 0, false, isCancelled,
                [&](double f, qint64 entries) {
                    entriesHere = entries;
                    send(phase.start + 0.15 * ((double(k) + f) / count),
                         ProgressMeter::withEntries(message, entriesBefore + entries));
                },
                reportInterval_);
            entriesBefore += entriesHere;
        }
        offer({.title = QCoreApplication::translate("SystemJunkScanner", phase.title),
               .subtitle = QCoreApplication::translate("SystemJunkScanner", phase.subtitle),
               .symbol = text(phase.symbol),
               .isOptIn = false,
               .items = found,
               .isExpanded = false});
    }

    send(0.65, QCoreApplication::translate("SystemJunkScanner", "Looking for developer junk\u2026"));
    offer(developerGroup(isCancelled, [&](double f, const QString& message) { send(0.65 + 0.15 * f, message); }));

    send(0.8, QCoreApplication::translate("SystemJunkScanner", "Looking for package manager caches\u2026"));
    offer(packageManagerGroup(isCancelled, [&](double f, const QString& message) { send(0.8 + 0.1 * f, message); }));

    const QString auditing = QCoreApplication::translate("SystemJunkScanner", "Auditing preference files\u2026");
    send(0.9, auditing);
    offer(brokenPreferencesGroup(isCancelled, [&](double f) { send(0.9 + 0.1 * f, auditing); }));

    send(1.0, QCoreApplication::translate("SystemJunkScanner", "System junk scan complete"));
    result.scannedAt = platform::now();
    return result;
}

ScanGroup SystemJunkScanner::developerGroup(const CancelPredicate& isCancelled, const PhaseProgress& onProgress) const
{
    const QString base = FS::join(FS::library(), text("Developer"));
    QList<ScanItem> found;
    for (qsizetype k = 0; k < qsizetype(std::size(developerEntries)); ++k) {
        if (cancelled(isCancelled)) {
            break;
        }
        const DeveloperEntry& entry = developerEntries[k];
        const QString origin = QCoreApplication::translate("SystemJunkScanner", entry.origin);
        const QString message = QCoreApplication::translate("SystemJunkScanner", "Measuring %1\u2026").arg(origin);
        found += items(
            FS::join(base, text(entry.folder)), origin, 0, entry.requiresReview, isCancelled,
            [&](double f, qint64 entries) {
                onProgress(double(k) * 0.25 + f * 0.25, ProgressMeter::withEntries(message, entries));
            },
            reportInterval_);
    }
    return {.title = QCoreApplication::translate("SystemJunkScanner", "Developer Junk"),
            .subtitle = QCoreApplication::translate("SystemJunkScanner",
                                                    "Xcode build products, device support and simulator caches"),
            .symbol = text("hammer"),
            .isOptIn = false,
            .items = found,
            .isExpanded = false};
}

ScanGroup SystemJunkScanner::packageManagerGroup(const CancelPredicate& isCancelled,
                                                 const PhaseProgress& onProgress) const
{
    QList<ScanItem> found;
    for (qsizetype k = 0; k < qsizetype(std::size(packageManagerEntries)); ++k) {
        if (cancelled(isCancelled)) {
            break;
        }
        const PackageManagerEntry& entry = packageManagerEntries[k];
        const QString name = text(entry.name);
        const QString message =
            QCoreApplication::translate("SystemJunkScanner", "Measuring the %1 cache\u2026").arg(name);
        ProgressMeter meter(
            isCancelled, [&](double f, qint64 entries) { onProgress(f, ProgressMeter::withEntries(message, entries)); },
            reportInterval_);
        meter.step(double(k) * 0.1, double(k + 1) * 0.1);
        const std::optional<Root> cache =
            root(FS::join(entry.inLibrary ? FS::library() : FS::home(), text(entry.folder)));
        if (!cache || !isAllowed(cache->location)) {
            continue;
        }
        const qint64 size = FS::size(cache->location, {.descendIntoPackages = true, .isCancelled = meter.test()});
        if (size <= 0) {
            continue;
        }
        found.append(item(cache->location, QCoreApplication::translate("SystemJunkScanner", "%1 cache").arg(name),
                          cache->location, size, cache->needsReview));
    }
    sortBySize(found);
    return {.title = QCoreApplication::translate("SystemJunkScanner", "Package Manager Caches"),
            .subtitle =
                QCoreApplication::translate("SystemJunkScanner", "Downloaded archives your tools can fetch again"),
            .symbol = text("shippingbox.and.arrow.backward"),
            .isOptIn = false,
            .items = found,
            .isExpanded = false};
}

ScanGroup SystemJunkScanner::brokenPreferencesGroup(const CancelPredicate& isCancelled,
                                                    const std::function<void(double)>& onProgress) const
{
    const AppCatalog::Identity identity = catalog_.installedIdentity();
    QStringList files;
    for (const QString& child : FS::children(FS::join(FS::library(), text("Preferences")), {.includingHidden = true})) {
        if (pathExtension(FS::lastPathComponent(child)) == QLatin1String("plist")) {
            files.append(child);
        }
    }
    QList<ScanItem> found;
    const qsizetype count = files.size();
    for (qsizetype i = 0; i < count; ++i) {
        if (cancelled(isCancelled)) {
            break;
        }
        onProgress(double(i) / double(count));
        const QString& file = files.at(i);
        if (!isAllowed(file)) {
            continue;
        }
        const QString name = FS::lastPathComponent(file);
        const QString domain = deletingPathExtension(name);
        std::optional<QString> origin;
        bool requiresReview = false;
        switch (judgePreferenceFile(file)) {
        case PreferenceState::unjudged:
            continue;
        case PreferenceState::unreadable:
            origin = QCoreApplication::translate("SystemJunkScanner", "Unreadable property list");
            break;
        case PreferenceState::wellFormed:
            if (identity.identifiers.contains(domain) || domain.startsWith(QLatin1String("com.apple."))
                || !domain.contains(QLatin1Char('.'))) {
                continue;
            }
            origin = QCoreApplication::translate("SystemJunkScanner", "No installed app claims %1").arg(domain);
            requiresReview = true;
            break;
        }
        ScanItem entry = item(file, name, origin, FS::allocatedSize(file), requiresReview);
        entry.isSelected = false;
        found.append(std::move(entry));
    }
    sortBySize(found);
    return {.title = QCoreApplication::translate("SystemJunkScanner", "Broken Preferences"),
            .subtitle =
                QCoreApplication::translate("SystemJunkScanner", "Corrupt plists and settings with no owning app"),
            .symbol = text("slider.horizontal.3"),
            .isOptIn = true,
            .items = found,
            .isExpanded = false};
}

} // namespace harborlite
