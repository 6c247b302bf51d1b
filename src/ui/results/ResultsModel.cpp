#include "ui/results/ResultsModel.h"

#include "model/ScanSession.h"
#include "ui/results/ItemRowPainter.h"
#include "ui/results/RowPainting.h"
#include "ui/theme/TypeStyle.h"

#include <QFontMetrics>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

constexpr int kFirstPage = 40;
constexpr int kPageStep = 200;

QFont sectionTextFont()
{
    return TypeStyle::font(12, QFont::Normal);
}

int groupHeaderContentHeight()
{
    const int texts = QFontMetrics(TypeStyle::font(12.5, QFont::DemiBold)).height() + 1
        + QFontMetrics(TypeStyle::rowDetail()).height();
    const int pill =
        static_cast<int>(std::ceil(RowPainting::pillSize(ResultsPresentation::reviewPillText(), true).height()));
    return std::max({17, texts, pill});
}

int showMoreHeight()
{
    return static_cast<int>(std::ceil(RowPainting::buttonSize(QStringLiteral("Show")).height()));
}

} // namespace

ResultsModel::ResultsModel(ScanSession& scans, QList<ScanCategory> categories, QObject* parent)
    : QAbstractListModel(parent)
    , scans_(scans)
    , categories_(std::move(categories))
    , sectionSizes_(static_cast<std::size_t>(categories_.size()), 0)
{
    ScanItem withOrigin;
    withOrigin.origin = QString();
    heights_ = {
        .plainItem = ItemRowPainter::height(ScanItem{}),
        .itemWithOrigin = ItemRowPainter::height(withOrigin),
        .groupHeader = groupHeaderContentHeight(),
        .titleLine = QFontMetrics(TypeStyle::font(12.5, QFont::DemiBold)).height(),
        .subtitleLine = QFontMetrics(TypeStyle::rowDetail()).height(),
        .showMore = showMoreHeight(),
        .textLine = QFontMetrics(sectionTextFont()).height(),
    };
    for (std::size_t section = 0; section < sectionSizes_.size(); ++section) {
        std::vector<Row> made = build(section);
        sectionSizes_[section] = static_cast<int>(made.size());
        rows_.insert(rows_.end(), made.begin(), made.end());
    }
    indexRows();
    // Every write to the results announces itself: a header is counted again
    // only after one.
    connect(&scans_, &Observable::didChange, this, [this] { headers_.clear(); });
}

const ResultsPresentation::GroupHeader& ResultsModel::header(const ScanGroup& group) const
{
    auto found = headers_.find(group.id);
    if (found == headers_.end()) {
        found = headers_.insert(group.id, ResultsPresentation::groupHeader(group));
    }
    return *found;
}

int ResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

const ScanGroup* ResultsModel::group(const Row& row) const
{
    const auto found = scans_.results().find(row.category);
    if (found == scans_.results().end() || row.group < 0 || row.group >= found->second.groups.size()) {
        return nullptr;
    }
    const ScanGroup& made = found->second.groups[row.group];
    if (row.kind != Kind::item && made.id != row.key) {
        return nullptr;
    }
    return &made;
}

const ScanItem* ResultsModel::item(const Row& row) const
{
    if (row.kind != Kind::item) {
        return nullptr;
    }
    const ScanGroup* owner = group(row);
    if (!owner || row.item < 0 || row.item >= owner->items.size() || owner->items[row.item].id != row.key) {
        return nullptr;
    }
    return &owner->items[row.item];
}

ResultsPresentation::Section ResultsModel::section(ScanCategory category) const
{
    const auto result = scans_.results().find(category);
    const auto progress = scans_.progress().find(category);
    return ResultsPresentation::section(category, result == scans_.results().end() ? nullptr : &result->second,
                                        scans_.runningCategories().contains(category),
                                        progress == scans_.progress().end() ? nullptr : &progress->second);
}

QString ResultsModel::text(const Row& row) const
{
    switch (row.kind) {
    case Kind::sectionText:
        return section(row.category).bodyText;
    case Kind::showMore:
        if (const auto made = paging(row)) {
            return made->title;
        }
        return {};
    case Kind::sectionHeader:
        return title(row.category);
    case Kind::groupHeader:
        if (const ScanGroup* shown = group(row)) {
            return shown->title;
        }
        return {};
    case Kind::item:
        if (const ScanItem* shown = item(row)) {
            return shown->displayName;
        }
        return {};
    }
    return {};
}

QVariant ResultsModel::checkState(const Row& row) const
{
    if (const ScanItem* shown = item(row)) {
        return shown->isSelected ? Qt::Checked : Qt::Unchecked;
    }
    const ScanGroup* shown = row.kind == Kind::groupHeader ? group(row) : nullptr;
    if (!shown) {
        return {};
    }
    switch (header(*shown).state) {
    case ScanGroup::SelectionState::all:
        return Qt::Checked;
    case ScanGroup::SelectionState::partial:
        return Qt::PartiallyChecked;
    case ScanGroup::SelectionState::none:
        break;
    }
    return Qt::Unchecked;
}

std::optional<ResultsPresentation::Paging> ResultsModel::paging(const Row& row) const
{
    const ScanGroup* shown = group(row);
    if (!shown) {
        return std::nullopt;
    }
    return ResultsPresentation::paging(static_cast<int>(shown->items.size()), visibleCount(row.key), kPageStep);
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const Row& shown = row(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return text(shown);
    case Qt::CheckStateRole:
        return checkState(shown);
    case KindRole:
        return static_cast<int>(shown.kind);
    default:
        return {};
    }
}

Qt::ItemFlags ResultsModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() >= rowCount()) {
        return Qt::NoItemFlags;
    }
    switch (row(index.row()).kind) {
    case Kind::groupHeader:
    case Kind::item:
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    case Kind::showMore:
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    case Kind::sectionHeader:
    case Kind::sectionText:
        break;
    }
    return Qt::ItemIsEnabled;
}

std::pair<int, int> ResultsModel::sectionRows(int section) const
{
    int start = 0;
    for (int i = 0; i < section; ++i) {
        start += sectionSizes_[static_cast<std::size_t>(i)];
    }
    return {start, sectionSizes_[static_cast<std::size_t>(section)]};
}

int ResultsModel::find(Kind kind, ScanCategory category, const QUuid& key) const
{
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& candidate = rows_[i];
        if (candidate.kind == kind && candidate.category == category && (key.isNull() || candidate.key == key)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int ResultsModel::contentTop(const Row& row)
{
    switch (row.kind) {
    case Kind::sectionHeader:
        return (row.firstSection ? 0 : kSectionSpacing) + kCardPadding;
    case Kind::sectionText:
        return kStackSpacing + (row.padded ? kTextPadding : 0);
    case Kind::groupHeader:
        return kStackSpacing + kGroupPadding;
    case Kind::item:
        return row.firstInBlock ? kBlockTop : kItemSpacing;
    case Kind::showMore:
        return kShowMoreTop;
    }
    return 0;
}

std::pair<int, int> ResultsModel::contentSpan(Kind kind, int width)
{
    switch (kind) {
    case Kind::sectionHeader:
    case Kind::sectionText:
        return {kCardPadding, width - kCardPadding};
    case Kind::groupHeader:
        return {kCardPadding + kGroupPadding, width - kCardPadding - kGroupPadding};
    case Kind::item:
    case Kind::showMore:
        return {kCardPadding + kGroupPadding + kBlockLeading, width - kCardPadding - kGroupPadding};
    }
    return {0, width};
}

int ResultsModel::rowHeight(int index, int width, int headerHeight) const
{
    const Row& shown = row(index);
    const int cardEnd = shown.lastInSection ? kCardPadding : 0;
    const int groupEnd = shown.lastInGroup ? kGroupPadding : 0;
    const int top = contentTop(shown);
    switch (shown.kind) {
    case Kind::sectionHeader:
        return top + headerHeight + cardEnd;
    case Kind::sectionText: {
        const auto [left, right] = contentSpan(shown.kind, width);
        const int textHeight = shown.padded
            ? heights_.textLine
            : QFontMetrics(sectionTextFont())
                  .boundingRect(QRect(0, 0, std::max(1, right - left), 1 << 20), Qt::TextWordWrap, text(shown))
                  .height();
        return top + textHeight + (shown.padded ? kTextPadding : 0) + cardEnd;
    }
    case Kind::groupHeader: {
        const int texts = titleHeight(shown.key) + 1 + heights_.subtitleLine;
        return top + std::max(heights_.groupHeader, texts) + groupEnd + cardEnd;
    }
    case Kind::item: {
        const ScanItem* shownItem = item(shown);
        const bool hasOrigin = shownItem && shownItem->origin.has_value();
        return top + (hasOrigin ? heights_.itemWithOrigin : heights_.plainItem) + groupEnd + cardEnd;
    }
    case Kind::showMore:
        return top + heights_.showMore + groupEnd + cardEnd;
    }
    return 0;
}

bool ResultsModel::setTitleHeight(const QUuid& group, int height)
{
    const bool changed = titleHeight(group) != height;
    titleHeights_.insert(group, height);
    return changed;
}

int ResultsModel::visibleCount(const QUuid& group) const
{
    return visibleCounts_.value(group, kFirstPage);
}

void ResultsModel::showMore(const QUuid& group)
{
    visibleCounts_[group] = visibleCount(group) + kPageStep;
    refresh();
}

void ResultsModel::indexRows()
{
    rowOfKey_.clear();
    rowOfKey_.reserve(static_cast<qsizetype>(rows_.size()));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const Row& row = rows_[i];
        if (row.kind == Kind::groupHeader || row.kind == Kind::item) {
            rowOfKey_.insert(row.key, static_cast<int>(i));
        }
    }
}

std::vector<ResultsModel::Row> ResultsModel::build(std::size_t sectionIndex) const
{
    const ScanCategory category = categories_[static_cast<qsizetype>(sectionIndex)];
    const ResultsPresentation::Section presented = section(category);
    std::vector<Row> made;
    Row header;
    header.kind = Kind::sectionHeader;
    header.category = category;
    header.firstSection = sectionIndex == 0;
    made.push_back(header);

    if (presented.body == ResultsPresentation::Section::Body::text) {
        Row line;
        line.kind = Kind::sectionText;
        line.category = category;
        line.padded = presented.bodyPadded;
        made.push_back(line);
    } else if (presented.body == ResultsPresentation::Section::Body::groups) {
        const CategoryResult& result = scans_.results().at(category);
        for (int g = 0; g < result.groups.size(); ++g) {
            const ScanGroup& shown = result.groups[g];
            Row head;
            head.kind = Kind::groupHeader;
            head.category = category;
            head.group = g;
            head.key = shown.id;
            made.push_back(head);
            const int itemCount = static_cast<int>(shown.items.size());
            const int listed = shown.isExpanded ? std::min(itemCount, visibleCount(shown.id)) : 0;
            for (int i = 0; i < listed; ++i) {
                Row line;
                line.kind = Kind::item;
                line.category = category;
                line.group = g;
                line.item = i;
                line.key = shown.items[i].id;
                line.firstInBlock = i == 0;
                made.push_back(line);
            }
            if (shown.isExpanded && listed < itemCount) {
                Row more;
                more.kind = Kind::showMore;
                more.category = category;
                more.group = g;
                more.key = shown.id;
                made.push_back(more);
            }
            made.back().lastInGroup = true;
        }
    }
    made.back().lastInSection = true;
    return made;
}

void ResultsModel::refresh()
{
    QSet<QUuid> groups;
    for (const ScanCategory category : categories_) {
        const auto found = scans_.results().find(category);
        if (found != scans_.results().end()) {
            for (const ScanGroup& shown : found->second.groups) {
                groups.insert(shown.id);
            }
        }
    }
    visibleCounts_.removeIf([&](const auto& entry) { return !groups.contains(entry.key()); });
    titleHeights_.removeIf([&](const auto& entry) { return !groups.contains(entry.key()); });

    int start = 0;
    bool moved = false;
    std::vector<std::vector<Row>> sections;
    for (std::size_t section = 0; section < sectionSizes_.size(); ++section) {
        const std::vector<Row> fresh = build(section);
        const int oldSize = sectionSizes_[section];
        const int newSize = static_cast<int>(fresh.size());
        const auto oldRow = [&](int i) -> const Row& { return rows_[static_cast<std::size_t>(start + i)]; };
        int prefix = 0;
        while (prefix < oldSize && prefix < newSize && oldRow(prefix).sameAs(fresh[static_cast<std::size_t>(prefix)])) {
            ++prefix;
        }
        int suffix = 0;
        while (suffix < oldSize - prefix && suffix < newSize - prefix
               && oldRow(oldSize - 1 - suffix).sameAs(fresh[static_cast<std::size_t>(newSize - 1 - suffix)])) {
            ++suffix;
        }
        const int removed = oldSize - prefix - suffix;
        const int inserted = newSize - prefix - suffix;
        const auto at = rows_.begin() + start + prefix;
        if (removed > 0) {
            beginRemoveRows({}, start + prefix, start + prefix + removed - 1);
            rows_.erase(at, at + removed);
            sectionSizes_[section] -= removed;
            endRemoveRows();
        }
        if (inserted > 0) {
            beginInsertRows({}, start + prefix, start + prefix + inserted - 1);
            rows_.insert(rows_.begin() + start + prefix, fresh.begin() + prefix, fresh.begin() + prefix + inserted);
            sectionSizes_[section] += inserted;
            endInsertRows();
        }
        moved = moved || !std::equal(fresh.begin(), fresh.end(), rows_.begin() + start);
        sections.push_back(fresh);
        start += newSize;
    }

    // Rows that stayed may now end a card or a group and so change height;
    // views then lay the rows out again without losing their current row.
    if (moved) {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        rows_.clear();
        for (const std::vector<Row>& section : sections) {
            rows_.insert(rows_.end(), section.begin(), section.end());
        }
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }
    indexRows();
    // Rows that stayed may show new values (selection, sizes, texts).
    if (!rows_.empty()) {
        emit dataChanged(index(0), index(static_cast<int>(rows_.size()) - 1));
    }
}

} // namespace harborlite
