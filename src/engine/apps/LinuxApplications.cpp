#include "engine/apps/LinuxApplications.h"

#include "engine/apps/AppImages.h"
#include "engine/apps/FlatpakInstallation.h"
#include "engine/formats/DesktopEntry.h"
#include "engine/formats/DpkgDatabase.h"
#include "engine/safety/SafetyGuard.h"
#include "shared/FileSystem.h"

#include <QHash>
#include <QSet>

namespace harborlite {

namespace {

const QString noVersion = QStringLiteral("\u2014");
const QString systemEntries = QStringLiteral("/usr/share/applications");

bool cancelled(const std::function<bool()>& isCancelled)
{
    return isCancelled && isCancelled();
}

// An absolute path of the machine as it lies below `root`.
QString underRoot(const QString& root, const QString& absolute)
{
    const QString base = FS::path(root);
    return base == QLatin1String("/") ? absolute : base + absolute;
}

// Where a package's program lies, for its last use: an absolute Exec program
// as written, a bare name in the system's program folders.
std::optional<QString> programFile(const QString& program, const QString& root)
{
    if (program.isEmpty() || program.contains(QLatin1String(".."))) {
        return std::nullopt;
    }
    if (program.startsWith(QLatin1Char('/'))) {
        const QString file = underRoot(root, program);
        return FS::exists(file) ? std::optional<QString>(file) : std::nullopt;
    }
    if (program.contains(QLatin1Char('/'))) {
        return std::nullopt;
    }
    for (const char* folder : {"/usr/bin", "/bin", "/usr/games", "/usr/sbin", "/usr/local/bin"}) {
        const QString file = underRoot(root, QLatin1String(folder) + QLatin1Char('/') + program);
        if (FS::exists(file)) {
            return file;
        }
    }
    return std::nullopt;
}

} // namespace

LinuxApplications::LinuxApplications(Roots roots)
    : roots_(std::move(roots))
{
}

QStringList LinuxApplications::appImageFolders() const
{
    const QString home = FS::home();
    return roots_.appImageFolders.value_or(QStringList{FS::join(home, QStringLiteral("Applications")),
                                                       FS::join(home, QStringLiteral("AppImages")),
                                                       FS::join(home, QStringLiteral(".local/bin"))});
}

QString LinuxApplications::userDesktopEntries() const
{
    return roots_.userDesktopEntries.value_or(FS::join(FS::home(), QStringLiteral(".local/share/applications")));
}

QString LinuxApplications::flatpakUser() const
{
    return roots_.flatpakUser.value_or(FS::join(FS::home(), QStringLiteral(".local/share/flatpak")));
}

QString LinuxApplications::flatpakAppData() const
{
    return roots_.flatpakAppData.value_or(FS::join(FS::home(), QStringLiteral(".var/app")));
}

QList<InstalledApp> LinuxApplications::installedApps(bool includeSizes, const std::function<bool()>& isCancelled) const
{
    QList<InstalledApp> apps;
    appendAppImages(apps, includeSizes, isCancelled);
    appendFlatpaks(apps, roots_.flatpakSystem, true, includeSizes, isCancelled);
    appendFlatpaks(apps, flatpakUser(), false, includeSizes, isCancelled);
    appendDebianApps(apps, includeSizes);
    return apps;
}

void LinuxApplications::appendAppImages(QList<InstalledApp>& apps, bool includeSizes,
                                        const std::function<bool()>& isCancelled) const
{
    const QString homePath = FS::homePath();
    for (const QString& file : AppImages::find(appImageFolders())) {
        const AppImages::NameAndVersion named = AppImages::fromFileName(FS::lastPathComponent(file));
        InstalledApp app;
        app.kind = InstalledApp::Kind::appImage;
        // The file is its only identity: AppImages declare none that can be read without running them.
        app.bundleID = file;
        app.name = named.name;
        app.url = file;
        app.version = named.version.value_or(noVersion);
        app.size = includeSizes && !cancelled(isCancelled)
            ? FS::size(file, {.descendIntoPackages = true, .isCancelled = isCancelled})
            : 0;
        app.lastUsed = FS::lastAccessDate(file);
        app.isSystemScope = !FS::isBelow(file, homePath);
        // A launcher integration's entry may name the version the file name leaves out.
        QString entryVersion;
        for (const QString& entryPath : AppImages::desktopEntriesLaunching(file, userDesktopEntries())) {
            if (const std::optional<DesktopEntry> entry = DesktopEntry::fromFile(entryPath)) {
                if (app.iconName.isEmpty()) {
                    app.iconName = entry->text(QStringLiteral("Icon")).value_or(QString());
                }
                if (entryVersion.isEmpty()) {
                    entryVersion = entry->text(QStringLiteral("X-AppImage-Version")).value_or(QString()).trimmed();
                }
            }
        }
        if (!entryVersion.isEmpty()) {
            app.version = entryVersion;
        }
        apps.append(std::move(app));
    }
}

void LinuxApplications::appendFlatpaks(QList<InstalledApp>& apps, const QString& installation, bool isSystem,
                                       bool includeSizes, const std::function<bool()>& isCancelled) const
{
    for (const FlatpakInstallation::App& deployed : FlatpakInstallation(installation).apps()) {
        InstalledApp app;
        app.kind = InstalledApp::Kind::flatpak;
        app.bundleID = deployed.id;
        app.name = deployed.id.section(QLatin1Char('.'), -1);
        if (const std::optional<DesktopEntry> entry =
                DesktopEntry::fromFile(FlatpakInstallation::desktopEntry(deployed))) {
            if (const QString name = entry->text(QStringLiteral("Name")).value_or(QString()); !name.isEmpty()) {
                app.name = name;
            }
            app.iconName = entry->text(QStringLiteral("Icon")).value_or(QString());
            if (const std::optional<QString> icon = FlatpakInstallation::iconFile(deployed, app.iconName)) {
                app.iconName = *icon;
            }
        }
        app.url = deployed.folder;
        app.version = FlatpakInstallation::version(deployed).value_or(noVersion);
        app.size = includeSizes && !cancelled(isCancelled)
            ? FS::size(deployed.folder, {.descendIntoPackages = true, .isCancelled = isCancelled})
            : 0;
        const QString data = FS::join(flatpakAppData(), deployed.id);
        app.lastUsed = FS::lastAccessDate(FS::exists(data) ? data : deployed.folder);
        app.isSystemScope = isSystem;
        apps.append(std::move(app));
    }
}

void LinuxApplications::appendDebianApps(QList<InstalledApp>& apps, bool includeSizes) const
{
    const DpkgDatabase database(roots_.dpkgDatabase);
    const QList<DpkgDatabase::OwnedFile> entries = database.ownedFiles(systemEntries, QStringLiteral(".desktop"));
    if (entries.isEmpty()) {
        return;
    }
    QHash<QString, DpkgDatabase::Package> byName;
    QHash<QString, DpkgDatabase::Package> byNameAndArchitecture;
    for (const DpkgDatabase::Package& package : database.packages()) {
        byNameAndArchitecture.insert(package.name + QLatin1Char(':') + package.architecture, package);
        if (!byName.contains(package.name) || (package.isInstalled && !byName.value(package.name).isInstalled)) {
            byName.insert(package.name, package);
        }
    }
    QSet<QString> seen;
    for (const DpkgDatabase::OwnedFile& owned : entries) {
        // "kde4/app.desktop" has the desktop id "kde4-app".
        const QString relative = owned.path.mid(systemEntries.size() + 1);
        QString id = relative.chopped(8);
        id.replace(QLatin1Char('/'), QLatin1Char('-'));
        if (id.isEmpty() || seen.contains(id)) {
            continue;
        }
        const QString file = underRoot(roots_.packageFilesRoot, owned.path);
        const std::optional<DesktopEntry> entry = DesktopEntry::fromFile(file);
        if (!entry || !entry->isVisibleApplication()) {
            continue;
        }
        seen.insert(id);
        const auto exact = byNameAndArchitecture.constFind(owned.package + QLatin1Char(':') + owned.architecture);
        const std::optional<DpkgDatabase::Package> package =
            !owned.architecture.isEmpty() && exact != byNameAndArchitecture.constEnd()
            ? std::optional(*exact)
            : (byName.contains(owned.package) ? std::optional(byName.value(owned.package)) : std::nullopt);
        InstalledApp app;
        app.kind = InstalledApp::Kind::debianPackage;
        app.bundleID = id;
        app.name = entry->text(QStringLiteral("Name")).value_or(id);
        app.url = file;
        app.version = package && package->version ? *package->version : noVersion;
        app.size = includeSizes && package ? package->installedSize : 0;
        if (const std::optional<QString> program = programFile(entry->program(), roots_.packageFilesRoot)) {
            app.lastUsed = FS::lastAccessDate(*program);
        }
        app.isSystemScope = true;
        app.iconName = entry->text(QStringLiteral("Icon")).value_or(QString());
        apps.append(std::move(app));
    }
}

QStringList LinuxApplications::leftovers(const InstalledApp& app) const
{
    QStringList candidates;
    switch (app.kind) {
    case InstalledApp::Kind::appImage:
        candidates = AppImages::desktopEntriesLaunching(app.url, userDesktopEntries());
        break;
    case InstalledApp::Kind::flatpak:
        if (FlatpakInstallation::isValidAppId(app.bundleID)) {
            candidates << FS::join(flatpakAppData(), app.bundleID);
        }
        break;
    case InstalledApp::Kind::bundle:
    case InstalledApp::Kind::debianPackage:
        break;
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
