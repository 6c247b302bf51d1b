#pragma once

#include "ui/paintcache/PictureKey.h"

#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace harborlite {

// Paints the entries of disk columns: the size in a 68-wide box coloured by
// its share of the column's total, the folder or document symbol, the name
// cut in the middle on one line and, for folders, a chevron; a rounded mint
// background when selected or under the pointer. Rows are 1 apart. One
// delegate serves every column of a browser, so the symbols are drawn once.
class DiskRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int kSidePadding = 7;
    static constexpr int kVerticalPadding = 4;
    static constexpr int kSpacing = 8;
    static constexpr int kSizeWidth = 68;
    static constexpr qreal kIconSide = 9;
    static constexpr qreal kChevronSide = 8;
    static constexpr int kMinimumGap = 2;
    static constexpr int kRowGap = 1;
    static constexpr qreal kCornerRadius = 6;
    static constexpr qreal kSizeTextPixels = 11;
    static constexpr qreal kNameTextPixels = 11.5;

    explicit DiskRowDelegate(QObject* parent = nullptr);

    // Every row is this tall, the gap below it included.
    static int rowHeight();

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    const QPixmap& symbol(const QString& name, qreal side, const QColor& color, qreal devicePixelRatio) const;

    QFont regularSize_;
    QFont semiboldSize_;
    QFont name_;
    mutable QHash<PictureKey, QPixmap> symbols_;
};

} // namespace harborlite
