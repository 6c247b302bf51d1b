#include "widgets/extension/WidgetContent.h"

#include "paint/Palette.h"
#include "widgets/extension/LabelledFigure.h"
#include "widgets/extension/WidgetBar.h"
#include "widgets/extension/WidgetFigures.h"
#include "widgets/extension/WidgetRing.h"

#include <QBoxLayout>
#include <QWidget>

namespace harborlite::WidgetContent {

void clear(QLayout* layout)
{
    while (QLayoutItem* item = layout->takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            delete widget;
        }
        if (QLayout* inner = item->layout()) {
            clear(inner);
        }
        delete item;
    }
}

QWidget* ring(const RingFigure& figure)
{
    return new WidgetRing(figure.fraction, Palette::color(figure.tint), figure.caption, figure.value);
}

QWidget* bar(const BarFigure& figure)
{
    return new WidgetBar(figure.title, figure.detail, figure.fraction, Palette::color(figure.tint));
}

QWidget* labelled(const LabelledValue& figure)
{
    return new LabelledFigure(figure.title, figure.value, Palette::color(figure.color));
}

QBoxLayout* ringRow(const std::vector<RingFigure>& rings, int spacing)
{
    auto* row = new QHBoxLayout;
    constexpr int overhang = WidgetRing::kOverhang;
    row->setContentsMargins(-overhang, -overhang, -overhang, -overhang);
    row->setSpacing(spacing - 2 * overhang);
    for (const RingFigure& figure : rings) {
        row->addWidget(ring(figure), 0, Qt::AlignVCenter);
    }
    return row;
}

} // namespace harborlite::WidgetContent
