#include "ui/components/CheckBoxStyle.h"

#include "paint/Palette.h"
#include "ui/components/TriStateToggle.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"

#include <QCheckBox>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace harborlite {

namespace {

constexpr int kBoxSide = 15;

} // namespace

CheckBoxStyle::CheckBoxStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
}

void CheckBoxStyle::apply(QCheckBox* box)
{
    auto* style = new CheckBoxStyle;
    style->setParent(box);
    box->setStyle(style);
}

int CheckBoxStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    if (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight) {
        return kBoxSide;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

void CheckBoxStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const
{
    if (element != PE_IndicatorCheckBox) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const Appearance appearance = Palette::appearance(widget);
    const TriStateToggle::State state = (option->state & State_On) != 0 ? TriStateToggle::State::all
        : (option->state & State_NoChange) != 0                         ? TriStateToggle::State::partial
                                                                        : TriStateToggle::State::none;
    const TriStateToggle::Look look = TriStateToggle::look(state);
    const QRectF box = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = TriStateToggle::kCornerRadius * box.width() / TriStateToggle::kSide;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if ((option->state & State_Enabled) == 0) {
        painter->setOpacity(0.45);
    }
    painter->fillPath(Shapes::roundedRect(box, radius), Palette::color(look.fill).resolve(appearance));
    Shapes::strokeInside(*painter, box, radius, TriStateToggle::edgeColor(state, appearance),
                         TriStateToggle::kEdgeWidth);
    if ((option->state & State_HasFocus) != 0 && (option->state & State_KeyboardFocusChange) != 0) {
        Shapes::strokeInside(*painter, box, radius, Palette::accentDeep().resolve(appearance), 2);
    }
    if (state == TriStateToggle::State::all) {
        const qreal side = box.width() * 0.6;
        Symbols::paint(*painter, QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side),
                       QStringLiteral("checkmark"), Qt::white);
    } else if (state == TriStateToggle::State::partial) {
        const qreal width = box.width() * 0.55;
        painter->fillPath(
            Shapes::roundedRect(QRectF(box.center().x() - width / 2, box.center().y() - 1.25, width, 2.5), 1),
            Qt::white);
    }
    painter->restore();
}

} // namespace harborlite
