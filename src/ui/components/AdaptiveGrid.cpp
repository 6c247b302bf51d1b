#include "ui/components/AdaptiveGrid.h"

#include <QWidget>

#include <algorithm>

namespace harborlite {

AdaptiveGrid::AdaptiveGrid(int minColumnWidth, int spacing, QWidget* parent)
    : AdaptiveGrid(minColumnWidth, spacing, spacing, parent)
{
}

AdaptiveGrid::AdaptiveGrid(int minColumnWidth, int columnSpacing, int rowSpacing, QWidget* parent)
    : QLayout(parent)
    , minColumnWidth_(minColumnWidth)
    , gap_(columnSpacing)
    , rowGap_(rowSpacing)
{
    setContentsMargins(0, 0, 0, 0);
}

AdaptiveGrid::~AdaptiveGrid()
{
    while (QLayoutItem* item = takeAt(0)) {
        delete item;
    }
}

void AdaptiveGrid::setRowSpacing(int spacing)
{
    rowGap_ = spacing;
    invalidate();
}

int AdaptiveGrid::columns(int width, int minColumnWidth, int spacing)
{
    const int step = std::max(1, minColumnWidth + spacing);
    return std::max(1, (width + spacing) / step);
}

void AdaptiveGrid::addItem(QLayoutItem* item)
{
    items_.append(item);
}

int AdaptiveGrid::count() const
{
    return static_cast<int>(items_.size());
}

QLayoutItem* AdaptiveGrid::itemAt(int index) const
{
    return index >= 0 && index < items_.size() ? items_.at(index) : nullptr;
}

QLayoutItem* AdaptiveGrid::takeAt(int index)
{
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

QSize AdaptiveGrid::sizeHint() const
{
    const int width = minColumnWidth_;
    return {width, heightForWidth(width)};
}

QSize AdaptiveGrid::minimumSize() const
{
    return {minColumnWidth_, 0};
}

Qt::Orientations AdaptiveGrid::expandingDirections() const
{
    return Qt::Horizontal;
}

bool AdaptiveGrid::hasHeightForWidth() const
{
    return true;
}

int AdaptiveGrid::heightForWidth(int width) const
{
    return arrange(QRect(0, 0, width, 0), false);
}

void AdaptiveGrid::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int AdaptiveGrid::arrange(const QRect& rect, bool apply) const
{
    QList<QLayoutItem*> shown;
    for (QLayoutItem* item : items_) {
        if (!item->isEmpty()) {
            shown.append(item);
        }
    }
    const int columnCount = columns(rect.width(), minColumnWidth_, gap_);
    const int columnWidth = std::max(0, (rect.width() - (columnCount - 1) * gap_) / columnCount);
    int y = rect.top();
    for (qsizetype start = 0; start < shown.size(); start += columnCount) {
        const qsizetype end = std::min<qsizetype>(start + columnCount, shown.size());
        int rowHeight = 0;
        for (qsizetype i = start; i < end; ++i) {
            QLayoutItem* item = shown.at(i);
            const int height =
                item->hasHeightForWidth() ? item->heightForWidth(columnWidth) : item->sizeHint().height();
            rowHeight = std::max(rowHeight, height);
        }
        if (apply) {
            for (qsizetype i = start; i < end; ++i) {
                const int column = static_cast<int>(i - start);
                shown.at(i)->setGeometry(QRect(rect.left() + column * (columnWidth + gap_), y, columnWidth, rowHeight));
            }
        }
        y += rowHeight + rowGap_;
    }
    return shown.isEmpty() ? 0 : y - rowGap_ - rect.top();
}

} // namespace harborlite
