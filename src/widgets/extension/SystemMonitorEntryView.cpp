#include "widgets/extension/SystemMonitorEntryView.h"

#include "widgets/extension/SystemMonitorPresentation.h"
#include "widgets/extension/WidgetContent.h"
#include "widgets/extension/WidgetHeader.h"
#include "widgets/extension/WidgetRing.h"

#include <QBoxLayout>

namespace harborlite {

namespace {

// Rings in a row centred across the full width.
QBoxLayout* centredRings(const std::vector<RingFigure>& rings, int spacing)
{
    QBoxLayout* row = WidgetContent::ringRow(rings, spacing);
    row->insertStretch(0, 1);
    row->addStretch(1);
    return row;
}

void buildSmall(QVBoxLayout* column, const SystemMonitorPresentation& p)
{
    column->addWidget(new WidgetHeader);
    column->addSpacing(8);
    column->addLayout(centredRings(p.rings, 10));
    column->addSpacing(8);
    for (const BarFigure& bar : p.bars) {
        column->addWidget(WidgetContent::bar(bar));
    }
}

void buildMedium(QVBoxLayout* column, const SystemMonitorPresentation& p)
{
    column->addWidget(new WidgetHeader);
    column->addSpacing(9);
    QBoxLayout* row = WidgetContent::ringRow(p.rings, 12);
    // The figures sit 12 after the last ring's frame, which has stroke room
    // of its own beside it.
    row->addSpacing(WidgetRing::kOverhang);
    auto* figures = new QVBoxLayout;
    figures->setSpacing(7);
    for (const LabelledValue& figure : p.figures) {
        figures->addWidget(WidgetContent::labelled(figure));
    }
    row->addLayout(figures);
    row->setAlignment(figures, Qt::AlignVCenter);
    row->addStretch(1);
    column->addLayout(row);
}

void buildLarge(QVBoxLayout* column, const SystemMonitorPresentation& p)
{
    column->addWidget(new WidgetHeader);
    column->addSpacing(12);
    column->addLayout(centredRings(p.rings, 14));
    column->addSpacing(12);
    auto* bars = new QVBoxLayout;
    bars->setSpacing(9);
    for (const BarFigure& bar : p.bars) {
        bars->addWidget(WidgetContent::bar(bar));
    }
    column->addLayout(bars);
    column->addSpacing(12);
    auto* figures = new QHBoxLayout;
    figures->setSpacing(16);
    for (const LabelledValue& figure : p.figures) {
        figures->addWidget(WidgetContent::labelled(figure), 0, Qt::AlignVCenter);
    }
    figures->addStretch(1);
    column->addLayout(figures);
}

} // namespace

void SystemMonitorEntryView::build(QVBoxLayout* column, const MonitorEntry& entry)
{
    const SystemMonitorPresentation p = SystemMonitorPresentation::of(family(), entry.snapshot);
    // The column is centred in the widget's height, as it is shorter.
    column->addStretch(1);
    switch (p.layout) {
    case SystemMonitorLayout::small:
        buildSmall(column, p);
        break;
    case SystemMonitorLayout::medium:
        buildMedium(column, p);
        break;
    case SystemMonitorLayout::large:
        buildLarge(column, p);
        break;
    }
    column->addStretch(1);
}

} // namespace harborlite
