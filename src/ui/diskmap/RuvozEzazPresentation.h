#pragma once

#include "engine/scanners/DiskNode.h"
#include "engine/system/StorageBreakdown.h"
#include "shared/PaletteRole.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// What the disk map screen and its storage panel show, as plain data: texts,
// palette roles, folders and widths. The widgets only draw these.
namespace harborlite::RuvozEzazPresentation {

// Answers whether a folder exists here; the screen asks the disk.
using FolderExists = std::function<bool(const QString& path)>;

QString title();
QString subtitle();
QString headerSymbol();

// The root menu's label: the root's last path component ("/" for the root),
// "Macintosh HD" only when that component is empty. Not translated.
QString rootLabel(const QString& root);

// One item of the root menu that maps a folder.
struct RootChoice {
    QString title;
    QString path;

    bool operator==(const RootChoice&) const = default;
};

// "Home Folder", "Applications", "Library" and "Whole Disk" with their
// folders, in that order, leaving out those whose folder does not exist.
QList<RootChoice> rootChoices(const QString& home, const QString& library, const FolderExists& exists);
QString chooseFolderTitle();

// The build button: "Stop" in the danger tint while a build runs, "Rebuild
// Map" in the accent otherwise.
struct BuildButtonLook {
    QString title;
    PaletteRole tint = PaletteRole::accent;

    bool operator==(const BuildButtonLook&) const = default;
};
BuildButtonLook buildButton(bool isBuilding);

// The main area shows exactly one of these, tested in this order: building,
// then a map when the model holds one, else nothing mapped.
enum class MainState { building, mapped, nothingMapped };
MainState mainState(bool isBuilding, bool hasTree);

// The building state's texts: the percentage in the ring and "Measuring <name>".
QString percentText(double fraction);
QString measuringText(const QString& name);

QString emptyTitle();
QString emptyMessage();
// "Map " followed by the root's last component, never substituted.
QString mapActionTitle(const QString& root);

// The selection bar of one node.
struct SelectionBarLook {
    QString symbol;
    QString name;
    // The plain path with a leading home folder written "~".
    QString location;
    QString size;

    bool operator==(const SelectionBarLook&) const = default;
};
SelectionBarLook selectionBar(const DiskNode& node);
QString revealTitle();

// One segment of the storage bar and one row of its legend.
struct LegendEntry {
    QString label;
    QString detail;
    qint64 bytes = 0;
    PaletteRole tint = PaletteRole::inkTertiary;
    // The folder clicking the entry maps; none when it cannot be mapped.
    std::optional<QString> root;

    bool isBrowsable() const { return root.has_value(); }
    bool operator==(const LegendEntry&) const = default;
};

// Volumes of at least this many bytes get an entry.
inline constexpr qint64 kMinimumVolumeBytes = 1'000'000'000;

// The panel shows only for a breakdown with a capacity.
bool showsPanel(const std::optional<StorageBreakdown>& storage);

PaletteRole tint(const QString& role);
// The folder an APFS role maps, none for roles without one.
std::optional<QString> browsableRoot(const QString& role);
// The folder a volume maps: where it is mounted when it says so, else the
// folder of its role; none when that folder does not exist here.
std::optional<QString> browsableRoot(const StorageBreakdown::Volume& volume, const FolderExists& exists);

// The volumes of at least a decimal gigabyte in their order, then what none
// of them accounts for when that is at least a gigabyte too ("Other space", or
// "Used" when no volume is listed), then "Free": together the capacity.
QList<LegendEntry> legend(const StorageBreakdown& storage, const FolderExists& exists);

// Whether the entry's folder is the folder mapped now (compared as paths).
bool isSelected(const LegendEntry& entry, const QString& root);

// The width of each entry's segment in a bar `width` wide: width × bytes ÷
// capacity, 0 for a capacity of 0 or less and never negative; no minimum.
QList<double> segmentWidths(const QList<LegendEntry>& entries, qint64 capacity, double width);
// 1 for the selected entry, 0.85 for every other.
double segmentOpacity(bool selected);

QString panelTitle();
// "<used> of <capacity> used", used being capacity less free.
QString usedText(const StorageBreakdown& storage);
// The container sentence when the volumes share one pool, then the purgeable
// and the snapshot sentences when they have something to say.
QString explanation(const StorageBreakdown& storage);

// The row's label colour: ink for an entry that can be mapped, else tertiary.
PaletteRole rowLabelRole(const LegendEntry& entry);
// Mint behind the row at this opacity: 0.75 selected, 0.4 hovered (only an
// entry that can be mapped reacts to the pointer); none otherwise.
std::optional<double> rowBackgroundOpacity(const LegendEntry& entry, bool isSelected, bool isHovering);

} // namespace harborlite::RuvozEzazPresentation
