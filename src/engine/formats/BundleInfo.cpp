#include "engine/formats/BundleInfo.h"

#include "engine/formats/PropertyList.h"
#include "shared/FileSystem.h"

namespace harborlite {

std::optional<BundleInfo> BundleInfo::read(const QString& bundlePath)
{
    if (!FS::isDirectory(bundlePath)) {
        return std::nullopt;
    }
    QString listPath = FS::join(bundlePath, QStringLiteral("Contents/Info.plist"));
    if (!FS::exists(listPath)) {
        listPath = FS::join(bundlePath, QStringLiteral("Info.plist"));
    }
    BundleInfo info;
    const std::optional<PropertyList> list = PropertyList::fromFile(listPath);
    if (!list || list->kind() != PropertyList::Kind::Dictionary) {
        return info;
    }
    info.identifier = list->string(QStringLiteral("CFBundleIdentifier"));
    info.name = list->string(QStringLiteral("CFBundleName"));
    info.displayName = list->string(QStringLiteral("CFBundleDisplayName"));
    info.shortVersion = list->string(QStringLiteral("CFBundleShortVersionString"));
    info.version = list->string(QStringLiteral("CFBundleVersion"));
    info.executable = list->string(QStringLiteral("CFBundleExecutable"));
    return info;
}

} // namespace harborlite
