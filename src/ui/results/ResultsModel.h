#pragma once

#include "engine/models/CategoryResult.h"
#include "ui/results/ResultsPresentation.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QUuid>

#include <vector>

namespace harborlite {

class ScanSession;

// The results list's rows: for each category, its header, then either one
// line of text or its groups, each group followed (while expanded) by its
// first `visibleCount` items and, while some are hidden, a "Show more" row.
// Rows read the model's values when asked, so a selection change only needs a
// repaint; refresh() inserts and removes just the rows that came or went, so
// views keep their current row and scroll position. A group title may wrap:
// its height is what the view measured for it (setTitleHeight), one line
// until then, so a list of thousands of groups measures only what is shown.
// Item and group rows are checkable (Qt::CheckStateRole) so that the item
// view's accessibility reports their boxes; the list paints and toggles them
// itself.
class ResultsModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum class Kind { sectionHeader, sectionText, groupHeader, item, showMore };
    enum Role { KindRole = Qt::UserRole + 1 };

    // One row, with where it sits: the card paddings and spacings of the
    // sections and groups are shared out among the rows they border.
    struct Row {
        Kind kind = Kind::sectionHeader;
        ScanCategory category = ScanCategory::systemJunk;
        int group = -1;
        int item = -1;
        // The group's id (group and "Show more" rows) or the item's id.
        QUuid key;
        bool firstSection = false;
        bool lastInSection = false;
        // The group's card ends with this row.
        bool lastInGroup = false;
        // The first item row under its group's header.
        bool firstInBlock = false;
        // A section text padded 8 above and below ("Looking…", "Nothing to remove here.").
        bool padded = false;

        bool operator==(const Row&) const = default;
        // The same row, wherever it sits.
        bool sameAs(const Row& other) const
        {
            return kind == other.kind && category == other.category && group == other.group && item == other.item
                && key == other.key;
        }
    };

    // Spacing and padding of cards and groups.
    static constexpr int kSectionSpacing = 14;
    static constexpr int kCardPadding = 16;
    static constexpr qreal kCardRadius = 22;
    static constexpr int kStackSpacing = 10;
    static constexpr int kGroupPadding = 11;
    static constexpr qreal kGroupRadius = 16;
    static constexpr int kBlockTop = 6;
    static constexpr int kBlockLeading = 6;
    static constexpr int kItemSpacing = 4;
    static constexpr int kShowMoreTop = 6;
    static constexpr int kTextPadding = 8;

    ResultsModel(ScanSession& scans, QList<ScanCategory> categories, QObject* parent = nullptr);

    const QList<ScanCategory>& categories() const { return categories_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const Row& row(int index) const { return rows_[static_cast<std::size_t>(index)]; }
    // The group or item a row shows, as it is in the model now; none when the
    // result changed under the row and it no longer matches.
    const ScanGroup* group(const Row& row) const;
    const ScanItem* item(const Row& row) const;
    ResultsPresentation::Section section(ScanCategory category) const;
    // The header of a group the model holds, counted once until the results
    // change: a group can hold tens of thousands of items.
    const ResultsPresentation::GroupHeader& header(const ScanGroup& group) const;
    // The text of a section-text row and the title of a "Show more" row.
    QString text(const Row& row) const;
    // What assistive tools read as the box of an item or a group row: checked
    // while selected, partly for a group with some of its items selected;
    // invalid for the other rows.
    QVariant checkState(const Row& row) const;
    std::optional<ResultsPresentation::Paging> paging(const Row& row) const;

    // The first row and the row count of the section of `categories()[section]`.
    std::pair<int, int> sectionRows(int section) const;

    // The row's index, or -1.
    int find(Kind kind, ScanCategory category, const QUuid& key = {}) const;
    // The row of the item or the group header with that id, or -1; at once.
    int rowOf(const QUuid& key) const { return rowOfKey_.value(key, -1); }

    // The height of a row in a list `width` wide whose section headers are
    // `headerHeight` tall.
    int rowHeight(int index, int width, int headerHeight) const;
    // Where the row's content lies across a list `width` wide: the card's
    // inside, the group's inside, or the item block.
    static std::pair<int, int> contentSpan(Kind kind, int width);
    // How far below the row's top its content starts.
    static int contentTop(const Row& row);

    // The height of a group's title as measured at the current width; one
    // line until measured. Measured heights go when the width changes.
    int titleHeight(const QUuid& group) const { return titleHeights_.value(group, heights_.titleLine); }
    bool hasTitleHeight(const QUuid& group) const { return titleHeights_.contains(group); }
    // Whether the height differs from the one the rows were laid out with.
    bool setTitleHeight(const QUuid& group, int height);
    void forgetTitleHeight(const QUuid& group) { titleHeights_.remove(group); }
    void forgetTitleHeights() { titleHeights_.clear(); }

    int visibleCount(const QUuid& group) const;
    // Lists up to 200 more of the group's items.
    void showMore(const QUuid& group);

    // Follows the model's current results, progress and running scans.
    void refresh();

private:
    std::vector<Row> build(std::size_t section) const;
    void indexRows();

    // Heights that depend only on the fonts, measured once.
    struct Heights {
        int plainItem = 0;
        int itemWithOrigin = 0;
        // The box, the pill and the subtitle line beside a one-line title.
        int groupHeader = 0;
        int titleLine = 0;
        int subtitleLine = 0;
        int showMore = 0;
        int textLine = 0;
    };

    ScanSession& scans_;
    QList<ScanCategory> categories_;
    Heights heights_;
    std::vector<Row> rows_;
    std::vector<int> sectionSizes_;
    QHash<QUuid, int> visibleCounts_;
    QHash<QUuid, int> rowOfKey_;
    QHash<QUuid, int> titleHeights_;
    mutable QHash<QUuid, ResultsPresentation::GroupHeader> headers_;
};

} // namespace harborlite
