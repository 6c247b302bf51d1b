#include "engine/scanners/LeftoversScanner.h"

#include <QCoreApplication>

#include "engine/models/SizeOrder.h"
#include "engine/scanners/ScanSteps.h"
#include "platform/Clock.h"
#include "shared/FileSystem.h"
#include "shared/Formatting.h"

namespace harborlite {

namespace {

using namespace ScanSteps;

// Folders of the user's Library, first level only, in this order.
const char* const inspectedFolders[] = {
    "Application Support", "Containers",          "Group Containers", "Saved Application State",
    "HTTPStorages",        "Application Scripts", "WebKit",
};

// Names that are never leftovers, in lower case: compared without regard to case.
const QSet<QString>& systemOwned()
{
    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (const char* name : {"com.apple",
                                 "CrashReporter",
                                 "MobileSync",
                                 "AddressBook",
                                 "CallHistoryDB",
                                 "CallHistoryTransactions",
                                 "CloudDocs",
                                 "Knowledge",
                                 "SyncServices",
                                 "icdd",
                                 "FaceTime",
                                 "Dock",
                                 "Screen Sharing",
                                 "iCloud",
                                 "App Store",
                                 "Animoji",
                                 "ControlCenter",
                                 "Caches",
                                 "AddressBookSourceSync",
                                 "SyncedPreferences",
                                 "Ubiquity",
                                 "Containers",
                                 "Spotlight",
                                 "Safari",
                                 "Quick Look",
                                 "Sharing",
                                 "Sandboxed Helpers",
                                 "Notes",
                                 "Music",
                                 "Mail",
                                 "TextEdit",
                                 "Preview",
                                 "iPhone Simulator",
                                 "MobileDevice",
                                 "Xcode",
                                 "Homebrew",
                                 "Code",
                                 "Codex",
                                 "Chromium",
                                 "Firefox",
                                 "BraveSoftware",
                                 "Google",
                                 "Microsoft",
                                 "Adobe",
                                 "JetBrains",
                                 "Sublime Text",
                                 "iTerm2",
                                 "Docker",
                                 "kubectl",
                                 "helm",
                                 "npm",
                                 "pnpm",
                                 "yarn",
                                 "node",
                                 "pip",
                                 "Python",
                                 "Ruby",
                                 "Go",
                                 "Rust",
                                 "cargo",
                                 "nvm",
                                 "rbenv",
                                 "pyenv"}) {
            set.insert(QString::fromLatin1(name).toLower());
        }
        return set;
    }();
    return names;
}

bool isTeamPrefix(const QString& text)
{
    const QList<uint> characters = text.toUcs4();
    return characters.size() == 10 && std::all_of(characters.begin(), characters.end(), [](uint c) {
               return QChar::isUpper(char32_t(c)) || QChar::isNumber(char32_t(c));
           });
}

QString withoutSavedState(QString name)
{
    return name.remove(QStringLiteral(".savedState"));
}

} // namespace

LeftoversScanner::LeftoversScanner(AppCatalog catalog)
    : catalog_(std::move(catalog))
{
}

QString LeftoversScanner::normalize(const QString& identifier)
{
    QString result = identifier;
    const qsizetype dot = result.indexOf(QLatin1Char('.'));
    if (dot >= 0 && isTeamPrefix(result.left(dot))) {
        result = result.mid(dot + 1);
    }
    for (const QLatin1String prefix : {QLatin1String("groups."), QLatin1String("group.")}) {
        if (result.startsWith(prefix)) {
            return result.mid(prefix.size());
        }
    }
    return result;
}

bool LeftoversScanner::isOrphan(const QString& identifier, const AppCatalog::Identity& identity)
{
    const QString n = normalize(identifier);
    if (identity.identifiers.contains(n) || identity.names.contains(n.toLower())
        || n.startsWith(QLatin1String("com.apple.")) || identifier.startsWith(QLatin1Char('.'))
        || systemOwned().contains(n.toLower())) {
        return false;
    }
    const QStringList pieces = n.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (pieces.size() < 3 || n.contains(QLatin1Char(' '))) {
        return false;
    }
    // Plain character prefixes, not dot boundaries: a near name is claimed too.
    const QString vendor = pieces.at(0) + QLatin1Char('.') + pieces.at(1);
    for (const QString& installed : identity.identifiers) {
        if (n.startsWith(installed) || installed.startsWith(n) || installed.startsWith(vendor)) {
            return false;
        }
    }
    return true;
}

CategoryResult LeftoversScanner::scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const
{
    CategoryResult result;
    result.category = category();
    qint64 bytesFound = 0;

    report(progress,
           {0.05, QCoreApplication::translate("LeftoversScanner", "Listing installed applications\u2026"), 0});
    const AppCatalog::Identity identity = catalog_.installedIdentity();

    QList<ScanItem> found;
    const qsizetype folderCount = qsizetype(std::size(inspectedFolders));
    for (qsizetype i = 0; i < folderCount; ++i) {
        if (cancelled(isCancelled)) {
            break;
        }
        const QString name = QString::fromLatin1(inspectedFolders[i]);
        report(progress,
               {0.1 + 0.85 * double(i) / double(folderCount),
                QCoreApplication::translate("LeftoversScanner", "Checking %1\u2026").arg(name), bytesFound});
        const std::optional<Root> folder = root(FS::join(FS::library(), name));
        for (const QString& child :
             folder ? FS::children(folder->location, {.includingHidden = false}) : QStringList()) {
            if (cancelled(isCancelled)) {
                break;
            }
            const QString identifier = withoutSavedState(FS::lastPathComponent(child));
            if (!isOrphan(identifier, identity) || !isAllowed(child)) {
                continue;
            }
            const qint64 size = FS::size(child, {.descendIntoPackages = true, .isCancelled = isCancelled});
            if (size <= 0) {
                continue;
            }
            bytesFound += size;
            const std::optional<QDateTime> changed = FS::modificationDate(child);
            const QString detail = QCoreApplication::translate("LeftoversScanner", "Last changed %1")
                                       .arg(changed ? Format::relativeDate(*changed)
                                                    : QCoreApplication::translate("LeftoversScanner", "Unknown"));
            found.append(item(child, identifier, QStringLiteral("Library/") + name, size, true, detail));
        }
    }
    sortBySize(found);
    appendIfAny(result.groups,
                {.title = QCoreApplication::translate("LeftoversScanner", "Orphaned Support Files"),
                 .subtitle = QCoreApplication::translate(
                     "LeftoversScanner", "No installed application claims these folders \u2014 review before removing"),
                 .symbol = QStringLiteral("shippingbox"),
                 .isOptIn = true,
                 .items = found,
                 .isExpanded = false});

    report(progress, {1.0, QCoreApplication::translate("LeftoversScanner", "Leftovers scan complete"), bytesFound});
    result.scannedAt = platform::now();
    return result;
}

} // namespace harborlite
