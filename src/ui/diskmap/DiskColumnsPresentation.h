#pragma once

#include "engine/scanners/DiskNode.h"
#include "shared/PaletteRole.h"

#include <QString>

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

// What the disk column browser shows for a disk map and a selection chain, as
// plain data. The widgets only draw these.
namespace harborlite::DiskColumnsPresentation {

// A node the browser holds on to: it keeps the tree or the listing it belongs
// to alive, so a selection chain never copies a subtree.
using NodeRef = std::shared_ptr<const DiskNode>;
// The selection chain: the node selected in the first column, then in the
// second, and so on.
using Path = std::vector<NodeRef>;

// The folders that get a column: the root, then every directory of the path.
Path columnParents(const NodeRef& root, const Path& path);

// Clicking `node` in column `level`: the path keeps its first `level` nodes
// (all of them when there are fewer) and gains `node`; `parents`, the
// columns of the path before, becomes columnParents() of the new one. Only
// what lies after the clicked column is touched.
void select(Path& path, Path& parents, NodeRef node, std::size_t level);

// What a column shows, decided in this order: its entries when it has some,
// "Measuring…" while its folder is being listed, "Nothing to show" when it
// has no list at all, "Empty" for an empty list.
enum class ColumnContent { entries, measuring, nothingToShow, empty };

// `childCount` is none when the folder has neither children nor a listing.
ColumnContent columnContent(std::optional<std::size_t> childCount, bool isListing);

// The placeholder's title for the content; empty for entries.
QString placeholderTitle(ColumnContent content);
// Whether the placeholder turns a spinner.
bool placeholderSpins(ColumnContent content);

// The entries largest first; an entry goes before another only when it is
// strictly larger, so equal sizes keep the order given.
std::vector<const DiskNode*> sortedEntries(const std::vector<DiskNode>& children);

// How one row is drawn.
struct RowLook {
    QString sizeText;
    PaletteRole sizeRole = PaletteRole::inkTertiary;
    bool sizeSemibold = false;
    PaletteRole iconRole = PaletteRole::inkTertiary;
    PaletteRole chevronRole = PaletteRole::inkTertiary;
    qreal chevronOpacity = 0.7;
    // Mint at this opacity behind the row; none when nothing is drawn.
    std::optional<qreal> backgroundOpacity;

    bool operator==(const RowLook&) const = default;
};

// The row of an entry of `size` bytes in a column coloured against `total`:
// a share of 0.2 or more is deep accent, 0.05 or more accent (both semibold),
// anything less, and every row of a column whose total is 0 or less, tertiary
// ink. A selected row draws size, icon and chevron in the deep accent on mint
// at 0.85; a hovered one has mint at 0.45.
RowLook rowLook(qint64 size, qint64 total, bool isSelected, bool isHovering);

// A name as one line of text: line breaks show as "↵", tabs as "⇥", other
// control characters as their pictures (U+2400 onwards) and bytes that are
// not UTF-8 (kept as lone surrogates) as U+FFFD, so a name never takes two
// lines nor hides what it holds.
QString displayName(const QString& name);

// The row's tooltip, the full path, as markup that shows the path exactly as
// it is written (bytes that are not UTF-8 as U+FFFD): a name holding "<b>" is
// not taken for formatting.
QString toolTipMarkup(const QString& path);

// Where the strip must scroll so that the last of `columnCount` columns ends
// at the trailing edge of a viewport `viewportWidth` wide (0 while they all fit).
int scrollTarget(int columnCount, int columnStride, int viewportWidth);

} // namespace harborlite::DiskColumnsPresentation
