#include "ui/diskmap/RuvozEzazPresentation.h"

#include "shared/FileSystem.h"
#include "shared/Formatting.h"

#include <QCoreApplication>

#include <algorithm>

namespace harborlite::RuvozEzazPresentation {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("RuvozEzazView", text);
}

} // namespace

QString title()
{
    return tr("Ruvoz Ezaz");
}

QString subtitle()
{
    return tr("See which folders are actually holding your storage.");
}

QString headerSymbol()
{
    return QStringLiteral("chart.pie");
}

QString rootLabel(const QString& root)
{
    const QString component = FS::lastPathComponent(root);
    return component.isEmpty() ? QStringLiteral("Macintosh HD") : component;
}

QList<RootChoice> rootChoices(const QString& home, const QString& library, const FolderExists& exists)
{
    const QList<RootChoice> all{
        {tr("Home Folder"), home},
        {tr("Applications"), QStringLiteral("/Applications")},
        {tr("Library"), library},
        {tr("Whole Disk"), QStringLiteral("/")},
    };
    QList<RootChoice> shown;
    for (const RootChoice& choice : all) {
        if (exists(choice.path)) {
            shown.append(choice);
        }
    }
    return shown;
}

QString chooseFolderTitle()
{
    return tr("Choose Folder\u2026");
}

BuildButtonLook buildButton(bool isBuilding)
{
    if (isBuilding) {
        return {tr("Stop"), PaletteRole::danger};
    }
    return {tr("Rebuild Map"), PaletteRole::accent};
}

MainState mainState(bool isBuilding, bool hasTree)
{
    if (isBuilding) {
        return MainState::building;
    }
    return hasTree ? MainState::mapped : MainState::nothingMapped;
}

QString percentText(double fraction)
{
    const QString text = Format::percent(fraction);
    return text.isEmpty() ? QStringLiteral("0%") : text;
}

QString measuringText(const QString& name)
{
    return tr("Measuring %1").arg(name);
}

QString emptyTitle()
{
    return tr("Nothing mapped yet");
}

QString emptyMessage()
{
    return tr("Building the map walks the whole folder tree, so it takes a little while on a full disk.");
}

QString mapActionTitle(const QString& root)
{
    return tr("Map %1").arg(FS::lastPathComponent(root));
}

SelectionBarLook selectionBar(const DiskNode& node)
{
    return {node.isDirectory ? QStringLiteral("folder.fill") : QStringLiteral("doc"), node.name,
            FS::abbreviatingHome(FS::path(node.url)), Format::byteText(node.size)};
}

QString revealTitle()
{
    return tr("Reveal in Finder");
}

bool showsPanel(const std::optional<StorageBreakdown>& storage)
{
    return storage && storage->capacity != 0;
}

PaletteRole tint(const QString& role)
{
    if (role == QLatin1String("Data")) {
        return PaletteRole::accent;
    }
    if (role == QLatin1String("System")) {
        return PaletteRole::accentDeep;
    }
    if (role == QLatin1String("VM")) {
        return PaletteRole::info;
    }
    if (role == QLatin1String("Preboot")) {
        return PaletteRole::mintDeep;
    }
    if (role == QLatin1String("Recovery")) {
        return PaletteRole::warning;
    }
    return PaletteRole::inkTertiary;
}

std::optional<QString> browsableRoot(const QString& role)
{
    if (role == QLatin1String("Data")) {
        return QStringLiteral("/System/Volumes/Data");
    }
    if (role == QLatin1String("System")) {
        return QStringLiteral("/System");
    }
    if (role == QLatin1String("VM")) {
        return QStringLiteral("/private/var/vm");
    }
    if (role == QLatin1String("Preboot")) {
        return QStringLiteral("/System/Volumes/Preboot");
    }
    if (role == QLatin1String("Update")) {
        return QStringLiteral("/System/Volumes/Update");
    }
    return std::nullopt;
}

std::optional<QString> browsableRoot(const StorageBreakdown::Volume& volume, const FolderExists& exists)
{
    const std::optional<QString> root =
        volume.mountPoint.isEmpty() ? browsableRoot(volume.role) : std::optional<QString>(volume.mountPoint);
    if (!root || !exists(*root)) {
        return std::nullopt;
    }
    return root;
}

QList<LegendEntry> legend(const StorageBreakdown& storage, const FolderExists& exists)
{
    QList<LegendEntry> entries;
    for (const StorageBreakdown::Volume& volume : storage.volumes) {
        if (volume.usedBytes < kMinimumVolumeBytes) {
            continue;
        }
        QString label = volume.title();
        if (volume.role == QLatin1String("Data")) {
            label = tr("Your files");
        } else if (volume.role == QLatin1String("System")) {
            label = tr("macOS");
        } else if (volume.role == QLatin1String("VM")) {
            label = tr("Swap");
        }
        LegendEntry entry{label, volume.title() + QStringLiteral(" \u2014 ") + volume.detail(), volume.usedBytes,
                          tint(volume.role), browsableRoot(volume, exists)};
        if (entry.root) {
            entry.detail += tr(". Click to map it.");
        }
        entries.append(std::move(entry));
    }
    // What no entry accounts for (other partitions, unpartitioned space,
    // reserved blocks, volumes too small to list) is a segment of its own, so
    // that the bar and the legend add up to the capacity the header names.
    qint64 listed = storage.free;
    for (const LegendEntry& entry : entries) {
        listed += entry.bytes;
    }
    const qint64 rest = storage.capacity - listed;
    if (rest >= kMinimumVolumeBytes) {
        entries.append(storage.volumes.isEmpty()
                           ? LegendEntry{tr("Used"), tr("Space in use on this volume"), rest, PaletteRole::inkSecondary,
                                         std::nullopt}
                           : LegendEntry{tr("Other space"),
                                         tr("Space no listed volume accounts for: other partitions, "
                                            "unpartitioned space, reserved blocks and small volumes"),
                                         rest, PaletteRole::inkSecondary, std::nullopt});
    }
    entries.append(
        {tr("Free"), tr("Space available for new files"), storage.free, PaletteRole::hairline, std::nullopt});
    return entries;
}

bool isSelected(const LegendEntry& entry, const QString& root)
{
    return entry.root && FS::path(*entry.root) == FS::path(root);
}

QList<double> segmentWidths(const QList<LegendEntry>& entries, qint64 capacity, double width)
{
    QList<double> widths;
    for (const LegendEntry& entry : entries) {
        widths.append(capacity > 0 ? std::max(0.0, width * double(entry.bytes) / double(capacity)) : 0.0);
    }
    return widths;
}

double segmentOpacity(bool selected)
{
    return selected ? 1.0 : 0.85;
}

QString panelTitle()
{
    return tr("This disk");
}

QString usedText(const StorageBreakdown& storage)
{
    return tr("%1 of %2 used")
        .arg(Format::byteText(storage.capacity - storage.free), Format::byteText(storage.capacity));
}

QString explanation(const StorageBreakdown& storage)
{
    QStringList sentences;
    if (storage.sharesOnePool) {
        sentences.append(tr("These volumes share one APFS container, so they add up to the whole disk rather than "
                            "to what any one volume reports."));
    }
    if (storage.purgeable > 0) {
        sentences.append(
            tr("About %1 is purgeable, which macOS already counts as free.").arg(Format::bytes(storage.purgeable)));
    }
    if (storage.snapshotCount > 0) {
        const QString snapshots = storage.snapshotCount == 1
            ? tr("%1 Time Machine snapshot hold part of it \u2014 Maintenance can thin them.")
            : tr("%1 Time Machine snapshots hold part of it \u2014 Maintenance can thin them.");
        sentences.append(snapshots.arg(QString::number(storage.snapshotCount)));
    }
    return sentences.join(QLatin1Char(' '));
}

PaletteRole rowLabelRole(const LegendEntry& entry)
{
    return entry.isBrowsable() ? PaletteRole::ink : PaletteRole::inkTertiary;
}

std::optional<double> rowBackgroundOpacity(const LegendEntry& entry, bool isSelected, bool isHovering)
{
    if (isSelected) {
        return 0.75;
    }
    if (isHovering && entry.isBrowsable()) {
        return 0.4;
    }
    return std::nullopt;
}

} // namespace harborlite::RuvozEzazPresentation
