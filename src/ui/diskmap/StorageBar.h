#pragma once

#include "ui/diskmap/RuvozEzazPresentation.h"

#include <QList>
#include <QWidget>

#include <functional>

namespace harborlite {

// The storage panel's bar: one segment per entry from the leading edge, each
// as wide as its share of the capacity, with no gaps and no minimum width,
// the whole clipped to a capsule. The segment of the folder mapped now is
// opaque, the others at 0.85. Clicking a segment that can be mapped hands its
// index to `chosen`; each segment's tooltip is its entry's detail.
class StorageBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 9;

    explicit StorageBar(std::function<void(int index)> chosen, QWidget* parent = nullptr);

    void setEntries(QList<RuvozEzazPresentation::LegendEntry> entries, qint64 capacity, int selected);
    const QList<RuvozEzazPresentation::LegendEntry>& entries() const { return entries_; }
    int selected() const { return selected_; }

    // Each segment's rectangle in the bar as it is now.
    QList<QRectF> segments() const;
    // The entry whose segment holds x, -1 for none.
    int entryAt(qreal x) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    std::function<void(int)> chosen_;
    QList<RuvozEzazPresentation::LegendEntry> entries_;
    qint64 capacity_ = 0;
    int selected_ = -1;
};

} // namespace harborlite
