#include "widgets/extension/WidgetHeader.h"

#include "paint/BrandMark.h"
#include "paint/Palette.h"
#include "widgets/extension/WidgetFont.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

QFont wordmarkFont()
{
    return WidgetFont::font(10, QFont::Bold);
}

} // namespace

WidgetHeader::WidgetHeader(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(wordmark());
}

QString WidgetHeader::wordmark()
{
    return QCoreApplication::translate("WidgetHeader", "Harborlite");
}

QSize WidgetHeader::sizeHint() const
{
    const QFontMetricsF metrics(wordmarkFont());
    return {kMarkSide + kSpacing + static_cast<int>(std::ceil(metrics.horizontalAdvance(wordmark()))),
            std::max(kMarkSide, static_cast<int>(std::ceil(metrics.height())))};
}

QSize WidgetHeader::minimumSizeHint() const
{
    return sizeHint();
}

void WidgetHeader::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF mark(0, (height() - kMarkSide) / 2.0, kMarkSide, kMarkSide);
    BrandMark::paint(painter, mark, kMarkThickness, Palette::accent().resolve(appearance), BrandMark::kSweep);
    painter.setFont(wordmarkFont());
    painter.setPen(Palette::inkSecondary().resolve(appearance));
    painter.drawText(QRectF(kMarkSide + kSpacing, 0, width() - kMarkSide - kSpacing, height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, wordmark());
}

} // namespace harborlite
