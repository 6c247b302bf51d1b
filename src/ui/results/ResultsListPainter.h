#pragma once

#include "paint/Palette.h"
#include "ui/results/PreparedRows.h"
#include "ui/results/ResultsModel.h"
#include "ui/results/RowTarget.h"

#include <QMargins>
#include <QStyledItemDelegate>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace harborlite {

class ResultsList;
class SoftShadow;

// The results list's painting and the places of what it paints: the cards
// under its sections (glass on a soft shadow) and its groups (inner cards),
// and every row but the section headers, whose widgets lie over their rows.
// The list says where the rows and cards lie; this says where each part of a
// row lies inside it.
class ResultsListPainter : public QStyledItemDelegate {
public:
    // The cards that reach into a part being painted, in the viewport.
    struct Cards {
        std::vector<QRect> sections;
        std::vector<QRect> groups;
    };

    // `headerHeight` is the section headers' height; `iconForFile` gives a
    // file's icon (may be empty).
    ResultsListPainter(ResultsList& list, const ResultsModel& rows, int headerHeight,
                       std::function<QIcon(const QString&)> iconForFile);
    ~ResultsListPainter() override;

    // The row's content rectangle inside the row's rectangle `rect`.
    QRect content(const ResultsModel::Row& row, const QRect& rect) const;
    // Where a part of the row drawn in `rect` lies; empty when the row has no such part.
    QRect targetRect(const ResultsModel::Row& row, const QRect& rect, RowTarget target) const;
    // Where the file icon of an item row drawn in `rect` lies.
    QRect iconRect(const ResultsModel::Row& row, const QRect& rect) const;
    // The height of a group row's title, wrapped at the width the row drawn
    // in `rect` gives it; the model's height for a row without its group.
    int measuredTitleHeight(const ResultsModel::Row& row, const QRect& rect) const;

    // How far past a section's card its shadow reaches, whole pixels.
    QMargins shadowReach() const;

    // One part of the viewport is painted at a time: rows paint nothing
    // outside it, where another part may have been painted already.
    void beginPart(const QRect& part, Appearance appearance);
    void endPart();
    void paintCards(QPainter& painter, const Cards& cards, const QRect& area);

    // Forgets every row's measurements (the fonts changed).
    void forgetPreparedRows() { preparedRows_.clear(); }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    void paintCardShadow(QPainter& painter, const QRect& card, const QColor& color);

    ResultsList& list_;
    const ResultsModel& rows_;
    int headerHeight_;
    std::function<QIcon(const QString&)> iconForFile_;
    // The part being painted and its appearance (looked up once, not for
    // every row: it walks the widget's parents); null and none otherwise.
    QRect part_;
    std::optional<Appearance> appearance_;
    // Painting a row measures it the first time.
    mutable PreparedRows preparedRows_;
    // The cards' shadow, blurred once for a short card and drawn in slices
    // around cards of any height (a blur of a tall card would cost a frame).
    std::unique_ptr<SoftShadow> shadow_;
};

} // namespace harborlite
