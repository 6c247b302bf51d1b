#include "ui/review/AdaptiveGrid.h"

#include <QWidget>

#include <algorithm>

namespace harborlite {

AdaptiveGrid::AdaptiveGrid(int minColumn, int spacing, QWidget* parent)
    : QLayout(parent)
    , minColumn_(std::max(1, minColumn))
{
    setSpacing(spacing);
    setContentsMargins(0, 0, 0, 0);
}

AdaptiveGrid::~AdaptiveGrid()
{
    while (QLayoutItem* item = takeAt(0)) {
        delete item;
    }
}

int AdaptiveGrid::columnCount(int width, int minColumn, int spacing)
{
    const int step = std::max(1, minColumn + spacing);
    return std::max(1, (width + spacing) / step);
}

int AdaptiveGrid::columns() const
{
    const QRect inner = contentsRect();
    return columnCount(inner.width(), minColumn_, spacing());
}

void AdaptiveGrid::addItem(QLayoutItem* item)
{
    // A cell shorter than its row keeps to the row's top.
    item->setAlignment(Qt::AlignTop);
    items_.append(item);
    invalidate();
}

int AdaptiveGrid::count() const
{
    return int(items_.size());
}

QLayoutItem* AdaptiveGrid::itemAt(int index) const
{
    return index >= 0 && index < items_.size() ? items_.at(index) : nullptr;
}

QLayoutItem* AdaptiveGrid::takeAt(int index)
{
    if (index < 0 || index >= items_.size()) {
        return nullptr;
    }
    QLayoutItem* item = items_.takeAt(index);
    invalidate();
    return item;
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

QSize AdaptiveGrid::sizeHint() const
{
    const QMargins margins = contentsMargins();
    const int width = minColumn_ + margins.left() + margins.right();
    return {width, heightForWidth(width)};
}

QSize AdaptiveGrid::minimumSize() const
{
    return sizeHint();
}

void AdaptiveGrid::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

QList<QLayoutItem*> AdaptiveGrid::visibleItems() const
{
    QList<QLayoutItem*> shown;
    for (QLayoutItem* item : items_) {
        if (!item->isEmpty()) {
            shown.append(item);
        }
    }
    return shown;
}

int AdaptiveGrid::arrange(const QRect& rect, bool apply) const
{
    const QMargins margins = contentsMargins();
    const QRect inner = rect.marginsRemoved(margins);
    const int gap = spacing();
    const int columns = columnCount(inner.width(), minColumn_, gap);
    const int columnWidth = std::max(0, (inner.width() - (columns - 1) * gap) / columns);
    const QList<QLayoutItem*> shown = visibleItems();

    int top = inner.top();
    for (qsizetype rowStart = 0; rowStart < shown.size(); rowStart += columns) {
        const qsizetype rowEnd = std::min<qsizetype>(rowStart + columns, shown.size());
        int rowHeight = 0;
        for (qsizetype index = rowStart; index < rowEnd; ++index) {
            QLayoutItem* item = shown.at(index);
            const int height = item->hasHeightForWidth() ? item->heightForWidth(columnWidth)
                                                          : item->sizeHint().height();
            rowHeight = std::max(rowHeight, height);
        }
        if (apply) {
            // Columns start at whole pixels spread over the full width, so the
            // last one ends flush with the edge.
            const qint64 pitch = qint64(inner.width()) + gap;
            for (qsizetype index = rowStart; index < rowEnd; ++index) {
                const int column = int(index - rowStart);
                const int left = int(column * pitch / columns);
                const int right = int((column + 1) * pitch / columns) - gap;
                shown.at(index)->setGeometry(QRect(inner.left() + left, top, std::max(0, right - left), rowHeight));
            }
        }
        top += rowHeight + gap;
    }
    const int used = shown.isEmpty() ? 0 : top - gap - inner.top();
    return used + margins.top() + margins.bottom();
}

} // namespace harborlite
