#pragma once

#include <QStyledItemDelegate>

namespace harborlite {

class AppIconCache;

// Paints one application row: on an inner card (highlighted while selected
// or under the pointer) the icon, the name over the version, and the size or
// "—" at the trailing edge.
class AppRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 46;
    static constexpr int kRowGap = 4;
    static constexpr qreal kCornerRadius = 11;
    static constexpr int kIconSide = 26;
    static constexpr int kHorizontalPadding = 10;
    static constexpr int kSpacing = 10;

    AppRowDelegate(AppIconCache& icons, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    AppIconCache& icons_;
};

} // namespace harborlite
