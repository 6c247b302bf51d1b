#pragma once

#include "engine/models/ScanGroup.h"
#include "ui/components/ScreenServices.h"
#include "ui/results/ItemRowPainter.h"

#include <QWidget>

#include <functional>

namespace harborlite {

// One scan item as a row of its own, for lists short enough to hold a widget
// per item (the uninstall pane); the results list paints the same row. The row
// never changes its item: pressing the box calls `toggle`, and the box shows
// the new state once the builder hands the changed item to setItem(). The
// reveal symbol shows the item in the file manager, whether or not it still
// exists; nothing comes back from that. Assistive tools read the row as a
// check box named after the item, checked while the item is selected.
class ItemRow : public QWidget {
    Q_OBJECT

public:
    ItemRow(const ScanItem& item, std::function<void()> toggle, const ScreenServices& services,
            QWidget* parent = nullptr);

    const ScanItem& item() const { return item_; }
    void setItem(const ScanItem& item);

    bool isHovering() const { return isHovering_; }
    ScanGroup::SelectionState boxState() const;
    // Where the row's parts lie in the widget.
    ItemRowPainter::Layout parts() const;
    // The tooltip at a point of the widget: the warning's or the reveal's; empty elsewhere.
    QString toolTipAt(const QPoint& position) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    enum class Part { none, box, reveal };
    Part partAt(const QPoint& position) const;

    ScanItem item_;
    std::function<void()> toggle_;
    ScreenServices services_;
    bool isHovering_ = false;
    Part pressed_ = Part::none;
};

} // namespace harborlite
