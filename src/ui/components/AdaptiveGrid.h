#pragma once

#include <QLayout>
#include <QList>

namespace harborlite {

// A grid that fits as many equal columns of at least `minColumnWidth` as the
// width allows (never fewer than one), `spacing` apart both ways, and flows
// its items into them row by row; each row is as tall as its tallest item.
// Rows may stand apart by a spacing of their own.
class AdaptiveGrid : public QLayout {
    Q_OBJECT

public:
    AdaptiveGrid(int minColumnWidth, int spacing, QWidget* parent = nullptr);
    AdaptiveGrid(int minColumnWidth, int columnSpacing, int rowSpacing, QWidget* parent = nullptr);
    ~AdaptiveGrid() override;

    // max(1, floor((width + spacing) / (minColumnWidth + spacing))).
    static int columns(int width, int minColumnWidth, int spacing);

    int minColumnWidth() const { return minColumnWidth_; }
    // Rows are `spacing` apart unless set otherwise.
    void setRowSpacing(int spacing);
    int rowSpacing() const { return rowGap_; }

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    void setGeometry(const QRect& rect) override;

private:
    // Lays the items out in `rect` (when `apply`) and returns the height used.
    int arrange(const QRect& rect, bool apply) const;

    int minColumnWidth_;
    int gap_;
    int rowGap_;
    QList<QLayoutItem*> items_;
};

} // namespace harborlite
