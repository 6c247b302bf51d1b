#include "engine/apps/FlatpakInstallation.h"

#include "engine/EngineLog.h"
#include "engine/formats/Metainfo.h"
#include "engine/formats/NoFollow.h"
#include "platform/PathText.h"
#include "shared/FileSystem.h"

#include <cerrno>
#include <climits>
#include <unistd.h>

namespace harborlite {

namespace {

bool isIdCharacter(QChar c, bool allowDash)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_'
        || (allowDash && u == '-');
}

// The target of the link at `location` when it is a link whose target is a
// relative path of `components` safe components; none otherwise.
std::optional<QString> relativeLinkTarget(const QString& location, int components)
{
    if (NoFollow::entryType(location) != NoFollow::EntryType::link) {
        return std::nullopt;
    }
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(platform::pathBytes(location).constData(), buffer, sizeof buffer);
    if (length <= 0 || length == static_cast<ssize_t>(sizeof buffer)) {
        return std::nullopt;
    }
    const QByteArray raw(buffer, length);
    const QString target = QString::fromUtf8(raw);
    if (target.toUtf8() != raw || target.startsWith(QLatin1Char('/'))) {
        return std::nullopt;
    }
    const QStringList parts = target.split(QLatin1Char('/'));
    if (parts.size() != components) {
        return std::nullopt;
    }
    for (const QString& part : parts) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..") || part.contains(QChar(0))) {
            return std::nullopt;
        }
    }
    return target;
}

const QStringList& iconSizes()
{
    static const QStringList sizes = {QStringLiteral("scalable"), QStringLiteral("512x512"), QStringLiteral("256x256"),
                                      QStringLiteral("128x128"),  QStringLiteral("96x96"),   QStringLiteral("64x64"),
                                      QStringLiteral("48x48"),    QStringLiteral("32x32")};
    return sizes;
}

} // namespace

FlatpakInstallation::FlatpakInstallation(QString root)
    : root_(FS::path(root))
{
}

bool FlatpakInstallation::isValidAppId(const QString& id)
{
    if (id.isEmpty() || id.size() > 255) {
        return false;
    }
    const QStringList elements = id.split(QLatin1Char('.'));
    if (elements.size() < 3) {
        return false;
    }
    for (qsizetype i = 0; i < elements.size(); ++i) {
        const QString& element = elements.at(i);
        const bool last = i + 1 == elements.size();
        if (element.isEmpty() || element.at(0).isDigit()) {
            return false;
        }
        for (const QChar c : element) {
            if (!isIdCharacter(c, last)) {
                return false;
            }
        }
    }
    return true;
}

QList<FlatpakInstallation::App> FlatpakInstallation::apps() const
{
    QList<App> found;
    const QString appsFolder = FS::join(root_, QStringLiteral("app"));
    for (const QString& folder : FS::children(appsFolder, {.includingHidden = false})) {
        const QString id = FS::lastPathComponent(folder);
        if (!isValidAppId(id) || NoFollow::entryType(folder) != NoFollow::EntryType::folder) {
            continue;
        }
        // current -> <arch>/<branch>, and there active -> <commit>.
        const std::optional<QString> branch = relativeLinkTarget(FS::join(folder, QStringLiteral("current")), 2);
        if (!branch) {
            qCWarning(engineLog) << "Flatpak application without a current branch left out:" << folder;
            continue;
        }
        const QString branchFolder = FS::join(folder, *branch);
        const std::optional<QString> commit = relativeLinkTarget(FS::join(branchFolder, QStringLiteral("active")), 1);
        const QString deployment = commit ? FS::join(branchFolder, *commit) : QString();
        if (!commit || NoFollow::entryType(deployment) != NoFollow::EntryType::folder) {
            qCWarning(engineLog) << "Flatpak application without an active deployment left out:" << folder;
            continue;
        }
        found.append({id, folder, deployment});
    }
    return found;
}

QString FlatpakInstallation::desktopEntry(const App& app)
{
    return FS::join(app.deployment, QStringLiteral("export/share/applications/") + app.id + QStringLiteral(".desktop"));
}

std::optional<QString> FlatpakInstallation::version(const App& app)
{
    const QString share = FS::join(app.deployment, QStringLiteral("files/share"));
    for (const QString& relative :
         {QStringLiteral("metainfo/%1.metainfo.xml"), QStringLiteral("metainfo/%1.appdata.xml"),
          QStringLiteral("appdata/%1.appdata.xml")}) {
        const NoFollow::FileBytes file =
            NoFollow::readFile(FS::join(share, relative.arg(app.id)), Metainfo::maxFileBytes);
        if (file.status == NoFollow::FileBytes::Status::read) {
            return Metainfo::newestReleaseVersion(file.bytes);
        }
    }
    return std::nullopt;
}

std::optional<QString> FlatpakInstallation::iconFile(const App& app, const QString& iconName)
{
    // Only a plain name can be looked up among the exports.
    if (iconName.isEmpty() || iconName.contains(QLatin1Char('/')) || iconName.startsWith(QLatin1Char('.'))) {
        return std::nullopt;
    }
    const QString icons = FS::join(app.deployment, QStringLiteral("export/share/icons/hicolor"));
    for (const QString& size : iconSizes()) {
        for (const char* extension : {".svg", ".png"}) {
            const QString candidate =
                FS::join(icons, size + QStringLiteral("/apps/") + iconName + QLatin1String(extension));
            if (NoFollow::entryType(candidate) == NoFollow::EntryType::file) {
                return candidate;
            }
        }
    }
    return std::nullopt;
}

} // namespace harborlite
