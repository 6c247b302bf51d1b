#include "ui/diskmap/StorageBar.h"

#include "paint/Palette.h"
#include "ui/theme/Shapes.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace harborlite {

namespace P = RuvozEzazPresentation;

StorageBar::StorageBar(std::function<void(int index)> chosen, QWidget* parent)
    : QWidget(parent)
    , chosen_(std::move(chosen))
{
    setObjectName(QStringLiteral("storageBar"));
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(tr("Storage use"));
}

void StorageBar::setEntries(QList<RuvozEzazPresentation::LegendEntry> entries, qint64 capacity, int selected)
{
    entries_ = std::move(entries);
    capacity_ = capacity;
    selected_ = selected;
    update();
}

QList<QRectF> StorageBar::segments() const
{
    QList<QRectF> rects;
    qreal x = 0;
    for (const double width : P::segmentWidths(entries_, capacity_, double(this->width()))) {
        rects.append(QRectF(x, 0, width, height()));
        x += width;
    }
    return rects;
}

int StorageBar::entryAt(qreal x) const
{
    const QList<QRectF> rects = segments();
    for (qsizetype i = 0; i < rects.size(); ++i) {
        if (rects[i].width() > 0 && x >= rects[i].left() && x < rects[i].right()) {
            return int(i);
        }
    }
    return -1;
}

QSize StorageBar::sizeHint() const
{
    return {200, kHeight};
}

void StorageBar::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(Shapes::capsule(QRectF(rect())));
    const QList<QRectF> rects = segments();
    for (qsizetype i = 0; i < rects.size(); ++i) {
        painter.setOpacity(P::segmentOpacity(i == selected_));
        painter.fillRect(rects[i], Palette::color(entries_[i].tint).resolve(appearance));
    }
}

void StorageBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) {
        return;
    }
    const int index = entryAt(event->position().x());
    if (index >= 0 && entries_[index].isBrowsable() && chosen_) {
        chosen_(index);
    }
}

bool StorageBar::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = entryAt(help->pos().x());
        if (index >= 0) {
            QToolTip::showText(help->globalPos(), entries_[index].detail, this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}

} // namespace harborlite
