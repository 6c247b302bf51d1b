#include "widgets/extension/StorageEntryView.h"

#include "paint/Palette.h"
#include "widgets/extension/FreeAmountRow.h"
#include "widgets/extension/StoragePresentation.h"
#include "widgets/extension/WidgetContent.h"
#include "widgets/extension/WidgetFont.h"
#include "widgets/extension/WidgetHeader.h"
#include "widgets/extension/WidgetText.h"

#include <QVBoxLayout>

namespace harborlite {

void StorageEntryView::build(QVBoxLayout* column, const MonitorEntry& entry)
{
    constexpr int spacing = 10;
    const StoragePresentation p = StoragePresentation::of(family(), entry.snapshot);
    column->addWidget(new WidgetHeader);
    column->addSpacing(spacing);
    column->addWidget(new FreeAmountRow(p.number, p.unit, p.numberPixels, p.unitPixels));
    column->addSpacing(spacing);
    column->addWidget(new WidgetText(p.total, WidgetFont::font(11), Palette::inkSecondary()));
    // The spacer pushes the bar to the bottom, with the stack's spacing on
    // both of its sides.
    column->addSpacing(spacing);
    column->addStretch(1);
    column->addSpacing(spacing);
    column->addWidget(WidgetContent::bar(p.bar));
}

} // namespace harborlite
