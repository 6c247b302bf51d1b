#include "engine/apps/AppCatalog.h"

#include "engine/apps/NameOrder.h"
#include "engine/formats/BundleInfo.h"
#include "engine/safety/SafetyGuard.h"
#include "shared/FileSystem.h"

namespace harborlite {

namespace {

// A name read from a bundle becomes a path component only when it is exactly one
// component: otherwise "../../Documents" would lead out of the Library.
bool isSafeComponent(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

QString withoutExtension(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? fileName.left(dot) : fileName;
}

} // namespace

AppCatalog::AppCatalog(QStringList candidateRoots, QString sharedLibrary,
                       std::optional<LinuxApplications> linuxApplications)
    : candidateRoots_(std::move(candidateRoots))
    , sharedLibrary_(std::move(sharedLibrary))
    , linux_(std::move(linuxApplications))
{
}

QStringList AppCatalog::searchRoots() const
{
    const QStringList candidates = candidateRoots_.value_or(
        QStringList{roots::applications, roots::utilities, FS::join(FS::home(), QStringLiteral("Applications"))});
    QStringList result;
    for (const QString& root : candidates) {
        if (FS::exists(root)) {
            result << root;
        }
    }
    return result;
}

QList<InstalledApp> AppCatalog::installedApps(bool includeSizes, const std::function<bool()>& isCancelled) const
{
    QList<InstalledApp> apps;
    QSet<QString> seen;
    const QString homePath = FS::homePath();
    for (const QString& root : searchRoots()) {
        for (const QString& child : FS::children(root, {.includingHidden = false})) {
            const QString fileName = FS::lastPathComponent(child);
            if (!fileName.endsWith(QLatin1String(".app")) || fileName.size() <= 4) {
                continue;
            }
            const std::optional<BundleInfo> info = BundleInfo::read(child);
            if (!info || !info->identifier) {
                continue;
            }
            const QString& identifier = *info->identifier;
            if (seen.contains(identifier)) {
                continue;
            }
            seen.insert(identifier);
            InstalledApp app;
            app.bundleID = identifier;
            app.name = info->displayName.value_or(info->name.value_or(withoutExtension(fileName)));
            app.url = child;
            app.version = info->shortVersion.value_or(info->version.value_or(QStringLiteral("\u2014")));
            app.size = includeSizes ? FS::size(child, {.descendIntoPackages = true, .isCancelled = isCancelled}) : 0;
            app.lastUsed = FS::lastAccessDate(child);
            app.isAppleSoftware = identifier.startsWith(QLatin1String("com.apple."));
            app.isSystemScope = !FS::isBelow(child, homePath);
            apps.append(std::move(app));
        }
    }
    if (linux_) {
        for (InstalledApp& app : linux_->installedApps(includeSizes, isCancelled)) {
            if (!seen.contains(app.bundleID)) {
                seen.insert(app.bundleID);
                apps.append(std::move(app));
            }
        }
    }
    NameOrder().sort(apps, [](const InstalledApp& app) { return app.name; });
    return apps;
}

AppCatalog::Identity AppCatalog::installedIdentity() const
{
    Identity identity;
    identity.identifiers.insert(QStringLiteral("com.apple"));
    for (const InstalledApp& app : installedApps(false)) {
        identity.identifiers.insert(app.bundleID);
        identity.names.insert(app.name.toLower());
    }
    return identity;
}

QStringList AppCatalog::leftoverPaths(const InstalledApp& app) const
{
    if (app.kind == InstalledApp::Kind::bundle) {
        return supportPaths(app.bundleID, app.name);
    }
    return linux_ ? linux_->leftovers(app) : QStringList();
}

QStringList AppCatalog::supportPaths(const QString& bundleID, const QString& appName) const
{
    const QString user = FS::library();
    const QString& shared = sharedLibrary_;
    QStringList candidates;
    if (isSafeComponent(bundleID)) {
        const QString& id = bundleID;
        candidates << FS::join(user, QStringLiteral("Application Support/") + id)
                   << FS::join(user, QStringLiteral("Caches/") + id)
                   << FS::join(user, QStringLiteral("Containers/") + id)
                   << FS::join(user, QStringLiteral("Group Containers/") + id)
                   << FS::join(user, QStringLiteral("HTTPStorages/") + id)
                   << FS::join(user, QStringLiteral("WebKit/") + id)
                   << FS::join(user, QStringLiteral("Saved Application State/") + id + QStringLiteral(".savedState"))
                   << FS::join(user, QStringLiteral("Application Scripts/") + id)
                   << FS::join(user, QStringLiteral("Logs/") + id)
                   << FS::join(user, QStringLiteral("Cookies/") + id + QStringLiteral(".binarycookies"))
                   << FS::join(user, QStringLiteral("Preferences/") + id + QStringLiteral(".plist"))
                   << FS::join(user, QStringLiteral("Preferences/ByHost/") + id + QStringLiteral(".plist"));
    }
    // An empty name would name the shared folders themselves, so it adds nothing.
    if (isSafeComponent(appName)) {
        candidates << FS::join(user, QStringLiteral("Application Support/CrashReporter/") + appName)
                   << FS::join(user, QStringLiteral("Logs/") + appName)
                   << FS::join(user, QStringLiteral("Application Support/") + appName)
                   << FS::join(user, QStringLiteral("Caches/") + appName);
    }
    if (isSafeComponent(bundleID)) {
        for (const char* folder : {"LaunchAgents", "LaunchDaemons"}) {
            const QString relative = QLatin1String(folder) + QLatin1Char('/') + bundleID + QStringLiteral(".plist");
            candidates << FS::join(user, relative) << FS::join(shared, relative);
        }
    }
    QStringList result;
    for (const QString& candidate : candidates) {
        if (FS::exists(candidate) && SafetyGuard::verdict(candidate, false).allowed) {
            result << candidate;
        }
    }
    return result;
}

} // namespace harborlite
