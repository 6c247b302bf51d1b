#include "engine/system/StorageBreakdown.h"

#include "engine/commands/ShellRunner.h"
#include "engine/formats/PropertyList.h"
#include "engine/system/DiskLayout.h"
#include "engine/system/LocalSnapshots.h"
#include "shared/FileSystem.h"

#include <QCoreApplication>

#include <algorithm>

namespace harborlite {

namespace {

constexpr double infoLimit = 15;
constexpr double listLimit = 20;

// The tool's output as a dictionary; none when it cannot be run, fails or
// prints something else.
std::optional<PropertyList> dictionaryFrom(const QString& tool, const QStringList& arguments, double limit)
{
    try {
        const ShellRunner::Output output = ShellRunner::run(tool, arguments, limit);
        if (output.status != 0) {
            return std::nullopt;
        }
        std::optional<PropertyList> list = PropertyList::fromBytes(output.standardOutput.toUtf8());
        if (!list || list->kind() != PropertyList::Kind::Dictionary) {
            return std::nullopt;
        }
        return list;
    } catch (const ShellRunner::RunError&) {
        return std::nullopt;
    }
}

std::optional<QString> containerReference(const QString& volume, const platform::ToolTable& tools)
{
    const std::optional<PropertyList> info =
        dictionaryFrom(tools.diskutil, {QStringLiteral("info"), QStringLiteral("-plist"), volume}, infoLimit);
    return info ? info->string(QStringLiteral("APFSContainerReference")) : std::nullopt;
}

qint64 number(const PropertyList& dictionary, const QString& key)
{
    if (const std::optional<qint64> integer = dictionary.integer(key)) {
        return *integer;
    }
    return qint64(dictionary.real(key).value_or(0));
}

std::optional<PropertyList> container(const QString& reference, const platform::ToolTable& tools)
{
    const std::optional<PropertyList> listing = dictionaryFrom(
        tools.diskutil, {QStringLiteral("apfs"), QStringLiteral("list"), QStringLiteral("-plist")}, listLimit);
    const std::optional<QList<PropertyList>> containers =
        listing ? listing->array(QStringLiteral("Containers")) : std::nullopt;
    if (!containers) {
        return std::nullopt;
    }
    for (const PropertyList& candidate : *containers) {
        if (candidate.kind() != PropertyList::Kind::Dictionary) {
            return std::nullopt;
        }
    }
    for (const PropertyList& candidate : *containers) {
        if (candidate.string(QStringLiteral("ContainerReference")) == reference) {
            return candidate;
        }
    }
    return std::nullopt;
}

} // namespace

QString StorageBreakdown::Volume::title() const
{
    if (role == QLatin1String("Data")) {
        return QCoreApplication::translate("StorageBreakdown", "Your files");
    }
    if (role == QLatin1String("System")) {
        return QCoreApplication::translate("StorageBreakdown", "macOS system");
    }
    if (role == QLatin1String("VM")) {
        return QCoreApplication::translate("StorageBreakdown", "Swap & sleep image");
    }
    if (role == QLatin1String("Preboot")) {
        return QCoreApplication::translate("StorageBreakdown", "Preboot");
    }
    if (role == QLatin1String("Recovery")) {
        return QCoreApplication::translate("StorageBreakdown", "Recovery");
    }
    if (role == QLatin1String("Update")) {
        return QCoreApplication::translate("StorageBreakdown", "Update staging");
    }
    return name;
}

QString StorageBreakdown::Volume::detail() const
{
    if (role == QLatin1String("Data")) {
        return QCoreApplication::translate("StorageBreakdown",
                                           "Everything in your home folder, applications and their data");
    }
    if (role == QLatin1String("System")) {
        return QCoreApplication::translate("StorageBreakdown", "The sealed, read-only system volume");
    }
    if (role == QLatin1String("VM")) {
        return QCoreApplication::translate("StorageBreakdown", "Virtual memory macOS manages on its own");
    }
    if (role == QLatin1String("Preboot")) {
        return QCoreApplication::translate("StorageBreakdown", "Boot support for each volume in the container");
    }
    if (role == QLatin1String("Recovery")) {
        return QCoreApplication::translate("StorageBreakdown", "The recovery environment");
    }
    if (role == QLatin1String("Update")) {
        return QCoreApplication::translate("StorageBreakdown", "Space staged for the next macOS update");
    }
    if (!fileSystemType.isEmpty()) {
        return QCoreApplication::translate("StorageBreakdown", "%1 file system on this disk").arg(fileSystemType);
    }
    return QCoreApplication::translate("StorageBreakdown", "APFS volume in the same container");
}

StorageBreakdown StorageBreakdown::measure(const QString& volume, const platform::ToolTable& tools)
{
    const auto fallback = [&volume] {
        const FS::VolumeCapacity capacity = FS::volumeCapacity(volume);
        return StorageBreakdown{capacity.total, capacity.free, {}, LocalSnapshots::purgeable(volume), 0};
    };
    if (!platform::isExecutableFile(tools.diskutil)) {
        std::optional<StorageBreakdown> disk = DiskLayout::of(volume);
        if (!disk) {
            StorageBreakdown own = fallback();
            own.sharesOnePool = false;
            return own;
        }
        disk->purgeable = LocalSnapshots::purgeable(volume);
        disk->snapshotCount = LocalSnapshots::snapshotCount(volume, tools);
        return *disk;
    }
    const std::optional<QString> reference = containerReference(volume, tools);
    if (!reference) {
        return fallback();
    }
    const std::optional<PropertyList> found = container(*reference, tools);
    if (!found) {
        return fallback();
    }
    StorageBreakdown breakdown;
    QList<PropertyList> entries = found->array(QStringLiteral("Volumes")).value_or(QList<PropertyList>());
    if (std::any_of(entries.begin(), entries.end(),
                    [](const PropertyList& entry) { return entry.kind() != PropertyList::Kind::Dictionary; })) {
        entries.clear();
    }
    for (const PropertyList& entry : entries) {
        const QStringList roles = entry.stringList(QStringLiteral("Roles")).value_or(QStringList());
        breakdown.volumes.append(
            {entry.string(QStringLiteral("Name")).value_or(QCoreApplication::translate("StorageBreakdown", "Untitled")),
             roles.isEmpty() ? QString() : roles.first(), number(entry, QStringLiteral("CapacityInUse"))});
    }
    breakdown.capacity = number(*found, QStringLiteral("CapacityCeiling"));
    breakdown.free = number(*found, QStringLiteral("CapacityFree"));
    std::stable_sort(breakdown.volumes.begin(), breakdown.volumes.end(),
                     [](const Volume& a, const Volume& b) { return a.usedBytes > b.usedBytes; });
    breakdown.purgeable = LocalSnapshots::purgeable(volume);
    breakdown.snapshotCount = LocalSnapshots::snapshotCount(volume, tools);
    return breakdown;
}

} // namespace harborlite
