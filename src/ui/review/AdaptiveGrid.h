#pragma once

#include <QLayout>
#include <QList>

namespace harborlite {

// A grid whose columns share the width equally and are never narrower than
// `minColumn`: as many as fit, at least one. Items fill rows left to right in
// the order they were added; a row is as tall as its tallest item. The grid
// reflows whenever its width changes.
class AdaptiveGrid : public QLayout {
    Q_OBJECT

public:
    AdaptiveGrid(int minColumn, int spacing, QWidget* parent = nullptr);
    ~AdaptiveGrid() override;

    AdaptiveGrid(const AdaptiveGrid&) = delete;
    AdaptiveGrid& operator=(const AdaptiveGrid&) = delete;

    // max(1, floor((width + spacing) / (minColumn + spacing))).
    static int columnCount(int width, int minColumn, int spacing);

    int minColumn() const { return minColumn_; }
    // The columns at the grid's current width.
    int columns() const;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Lays the items out in `rect` (or only measures when `apply` is false);
    // returns the height used.
    int arrange(const QRect& rect, bool apply) const;
    QList<QLayoutItem*> visibleItems() const;

    int minColumn_;
    QList<QLayoutItem*> items_;
};

} // namespace harborlite
