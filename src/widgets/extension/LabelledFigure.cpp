#include "widgets/extension/LabelledFigure.h"

#include "paint/FittedText.h"
#include "widgets/extension/WidgetFont.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

QFont titleFont()
{
    return WidgetFont::font(8, QFont::Bold);
}

QFont valueFont()
{
    return WidgetFont::font(12, QFont::DemiBold);
}

int ceilOf(qreal value)
{
    return static_cast<int>(std::ceil(value));
}

} // namespace

LabelledFigure::LabelledFigure(const QString& title, const QString& value, const AdaptiveColor& color, QWidget* parent)
    : QWidget(parent)
    , title_(title)
    , value_(value)
    , color_(color)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(title);
    setAccessibleDescription(value);
}

QString LabelledFigure::shownTitle(const QString& title)
{
    return title.toUpper();
}

QSize LabelledFigure::sizeHint() const
{
    const QFontMetricsF title(titleFont());
    const QFontMetricsF value(valueFont());
    return {ceilOf(std::max(title.horizontalAdvance(shownTitle(title_)), value.horizontalAdvance(value_))) + 1,
            ceilOf(title.height()) + kSpacing + ceilOf(value.height())};
}

QSize LabelledFigure::minimumSizeHint() const
{
    const QFontMetricsF title(titleFont());
    const QFontMetricsF value(valueFont());
    return {ceilOf(std::max(title.horizontalAdvance(shownTitle(title_)),
                            value.horizontalAdvance(value_) * kValueMinimumScale)),
            sizeHint().height()};
}

void LabelledFigure::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFontMetricsF title(titleFont());
    painter.setFont(titleFont());
    painter.setPen(Palette::inkTertiary().resolve(appearance));
    painter.drawText(QRectF(0, 0, width(), title.height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     title.elidedText(shownTitle(title_), Qt::ElideRight, width()));
    painter.setPen(color_.resolve(appearance));
    const qreal top = ceilOf(title.height()) + kSpacing;
    FittedText::paint(painter, QRectF(0, top, width(), height() - top), value_, valueFont(), kValueMinimumScale);
}

} // namespace harborlite
