#include "widgets/extension/FreeAmountRow.h"

#include "paint/Palette.h"
#include "widgets/extension/WidgetFont.h"

#include <QPainter>

#include <cmath>

namespace harborlite {

FreeAmountRow::FreeAmountRow(const QString& number, const QString& unit, qreal numberPixels, qreal unitPixels,
                             QWidget* parent)
    : QWidget(parent)
    , number_(number)
    , unit_(unit)
    , numberPixels_(numberPixels)
    , unitPixels_(unitPixels)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(number + QLatin1Char(' ') + unit);
}

QFont FreeAmountRow::numberFont() const
{
    return WidgetFont::font(numberPixels_, QFont::Bold);
}

QFont FreeAmountRow::unitFont() const
{
    return WidgetFont::font(unitPixels_, QFont::DemiBold);
}

QSize FreeAmountRow::sizeHint() const
{
    const QFontMetricsF number(numberFont());
    const QFontMetricsF unit(unitFont());
    return {static_cast<int>(std::ceil(number.horizontalAdvance(number_) + kSpacing + unit.horizontalAdvance(unit_))),
            static_cast<int>(std::ceil(number.height()))};
}

QSize FreeAmountRow::minimumSizeHint() const
{
    return sizeHint();
}

void FreeAmountRow::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFontMetricsF number(numberFont());
    const qreal baseline = number.ascent();
    painter.setFont(numberFont());
    painter.setPen(Palette::ink().resolve(appearance));
    painter.drawText(QPointF(0, baseline), number_);
    painter.setFont(unitFont());
    painter.setPen(Palette::accentDeep().resolve(appearance));
    painter.drawText(QPointF(number.horizontalAdvance(number_) + kSpacing, baseline), unit_);
}

} // namespace harborlite
