#include "widgets/extension/MonitorEntryView.h"

#include "paint/Palette.h"
#include "widgets/extension/WidgetBackground.h"
#include "widgets/extension/WidgetContent.h"

#include <QPainter>
#include <QVBoxLayout>

namespace harborlite {

MonitorEntryView::MonitorEntryView(WidgetFamily family, QWidget* parent)
    : EntryView<MonitorEntry>(parent)
    , family_(family)
    , column_(new QVBoxLayout(this))
{
    column_->setContentsMargins(kWidgetContentMargin, kWidgetContentMargin, kWidgetContentMargin, kWidgetContentMargin);
    column_->setSpacing(0);
    resize(displaySize(family));
}

void MonitorEntryView::display(const MonitorEntry& entry)
{
    WidgetContent::clear(column_);
    entry_ = entry;
    build(column_, entry);
    column_->activate();
    update();
}

void MonitorEntryView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    WidgetBackground::paint(painter, QRectF(rect()), Palette::appearance(this));
}

} // namespace harborlite
