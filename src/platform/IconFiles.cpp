#include "platform/IconFiles.h"

#include "platform/PathText.h"
#include "platform/XdgDataHome.h"

#include <sys/stat.h>

namespace harborlite::platform {

namespace {

bool isRegularFile(const QString& path)
{
    struct stat info { };
    return ::stat(pathBytes(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

const QStringList& themeSizes()
{
    static const QStringList sizes = {
        QStringLiteral("scalable"), QStringLiteral("128x128"), QStringLiteral("96x96"), QStringLiteral("64x64"),
        QStringLiteral("256x256"),  QStringLiteral("512x512"), QStringLiteral("48x48"), QStringLiteral("32x32"),
        QStringLiteral("24x24"),    QStringLiteral("22x22"),   QStringLiteral("16x16"),
    };
    return sizes;
}

} // namespace

QStringList iconThemeFolders()
{
    QStringList folders = {join(xdgDataHome().get(), QStringLiteral("icons"))};
    QStringList dataFolders =
        QString::fromLocal8Bit(qgetenv("XDG_DATA_DIRS")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (dataFolders.isEmpty()) {
        dataFolders = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    }
    for (const QString& folder : dataFolders) {
        if (folder.startsWith(QLatin1Char('/'))) {
            folders << join(path(folder), QStringLiteral("icons"));
        }
    }
    folders << join(xdgDataHome().get(), QStringLiteral("flatpak/exports/share/icons"))
            << QStringLiteral("/var/lib/flatpak/exports/share/icons");
    folders.removeDuplicates();
    return folders;
}

QStringList pixmapFolders()
{
    return {QStringLiteral("/usr/share/pixmaps")};
}

std::optional<QString> applicationIconFile(const QString& iconName, const QStringList& themeFolders,
                                           const QStringList& looseFolders)
{
    if (iconName.isEmpty() || iconName.contains(QChar(0))) {
        return std::nullopt;
    }
    if (iconName.startsWith(QLatin1Char('/'))) {
        return isRegularFile(iconName) ? std::optional(iconName) : std::nullopt;
    }
    if (iconName.contains(QLatin1Char('/')) || iconName.startsWith(QLatin1Char('.'))) {
        return std::nullopt;
    }
    for (const char* theme : {"hicolor", "Adwaita"}) {
        for (const QString& folder : themeFolders) {
            for (const QString& size : themeSizes()) {
                for (const char* extension : {".svg", ".svgz", ".png"}) {
                    const QString candidate =
                        join(folder,
                             QLatin1String(theme) + QLatin1Char('/') + size + QStringLiteral("/apps/") + iconName
                                 + QLatin1String(extension));
                    if (isRegularFile(candidate)) {
                        return candidate;
                    }
                }
            }
        }
    }
    for (const QString& folder : looseFolders) {
        for (const char* extension : {"", ".svg", ".svgz", ".png", ".xpm"}) {
            const QString candidate = join(folder, iconName + QLatin1String(extension));
            if (isRegularFile(candidate)) {
                return candidate;
            }
        }
    }
    return std::nullopt;
}

} // namespace harborlite::platform
