#include "ui/diskmap/DiskColumnsPresentation.h"

#include "shared/Formatting.h"

#include <QCoreApplication>

#include <algorithm>

namespace harborlite::DiskColumnsPresentation {

namespace {

constexpr double kDeepShare = 0.2;
constexpr double kAccentShare = 0.05;
constexpr qreal kSelectedOpacity = 0.85;
constexpr qreal kHoverOpacity = 0.45;
constexpr char16_t kControlPictures = 0x2400;
constexpr char16_t kDeletePicture = 0x2421;
// Arrows the system's type has, legible at row size.
constexpr char16_t kLineBreakArrow = 0x21B5;
constexpr char16_t kTabArrow = 0x21E5;

} // namespace

Path columnParents(const NodeRef& root, const Path& path)
{
    Path parents;
    parents.reserve(path.size() + 1);
    parents.push_back(root);
    for (const NodeRef& node : path) {
        if (node->isDirectory) {
            parents.push_back(node);
        }
    }
    return parents;
}

void select(Path& path, Path& parents, NodeRef node, std::size_t level)
{
    const std::size_t kept = std::min(level, path.size());
    path.resize(kept);
    // Every kept node is a directory: only the last of a path can be a file.
    parents.resize(kept + 1);
    if (node->isDirectory) {
        parents.push_back(node);
    }
    path.push_back(std::move(node));
}

ColumnContent columnContent(std::optional<std::size_t> childCount, bool isListing)
{
    if (childCount && *childCount > 0) {
        return ColumnContent::entries;
    }
    if (isListing) {
        return ColumnContent::measuring;
    }
    return childCount ? ColumnContent::empty : ColumnContent::nothingToShow;
}

QString placeholderTitle(ColumnContent content)
{
    switch (content) {
    case ColumnContent::measuring:
        return QCoreApplication::translate("DiskColumns", "Measuring\u2026");
    case ColumnContent::nothingToShow:
        return QCoreApplication::translate("DiskColumns", "Nothing to show");
    case ColumnContent::empty:
        return QCoreApplication::translate("DiskColumns", "Empty");
    case ColumnContent::entries:
        break;
    }
    return {};
}

bool placeholderSpins(ColumnContent content)
{
    return content == ColumnContent::measuring;
}

std::vector<const DiskNode*> sortedEntries(const std::vector<DiskNode>& children)
{
    std::vector<const DiskNode*> sorted;
    sorted.reserve(children.size());
    for (const DiskNode& child : children) {
        sorted.push_back(&child);
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const DiskNode* a, const DiskNode* b) { return a->size > b->size; });
    return sorted;
}

RowLook rowLook(qint64 size, qint64 total, bool isSelected, bool isHovering)
{
    RowLook look;
    look.sizeText = Format::byteText(size);
    if (total > 0) {
        const double share = static_cast<double>(size) / static_cast<double>(total);
        if (share >= kDeepShare) {
            look.sizeRole = PaletteRole::accentDeep;
        } else if (share >= kAccentShare) {
            look.sizeRole = PaletteRole::accent;
        }
        look.sizeSemibold = share >= kAccentShare;
    }
    if (isSelected) {
        look.sizeRole = PaletteRole::accentDeep;
        look.iconRole = PaletteRole::accentDeep;
        look.chevronRole = PaletteRole::accentDeep;
        look.chevronOpacity = 1;
        look.backgroundOpacity = kSelectedOpacity;
    } else if (isHovering) {
        look.backgroundOpacity = kHoverOpacity;
    }
    return look;
}

namespace {

// A surrogate that is not half of a pair stands for a byte of a name that is
// not UTF-8; it has no glyph.
QString withReplacedBytes(const QString& text)
{
    QString shown = text;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QChar c = shown.at(i);
        if (c.isHighSurrogate() && i + 1 < shown.size() && shown.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            shown[i] = QChar::ReplacementCharacter;
        }
    }
    return shown;
}

} // namespace

QString displayName(const QString& name)
{
    QString shown = withReplacedBytes(name);
    for (QChar& c : shown) {
        const char16_t code = c.unicode();
        if (code == u'\n' || code == u'\r' || code == 0x85 || code == 0x2028 || code == 0x2029) {
            c = QChar(kLineBreakArrow);
        } else if (code == u'\t') {
            c = QChar(kTabArrow);
        } else if (code < 0x20) {
            c = QChar(char16_t(kControlPictures + code));
        } else if (code == 0x7f) {
            c = QChar(kDeletePicture);
        }
    }
    return shown;
}

QString toolTipMarkup(const QString& path)
{
    return QStringLiteral("<p style='white-space:pre'>") + withReplacedBytes(path).toHtmlEscaped()
        + QStringLiteral("</p>");
}

int scrollTarget(int columnCount, int columnStride, int viewportWidth)
{
    return std::max(0, columnCount * columnStride - viewportWidth);
}

} // namespace harborlite::DiskColumnsPresentation
