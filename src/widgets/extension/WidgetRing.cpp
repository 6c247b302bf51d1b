#include "widgets/extension/WidgetRing.h"

#include "paint/FittedText.h"
#include "widgets/extension/WidgetFont.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

QFont valueFont()
{
    return WidgetFont::font(12, QFont::Bold);
}

QFont captionFont()
{
    return WidgetFont::font(9, QFont::DemiBold);
}

} // namespace

WidgetRing::WidgetRing(double fraction, const AdaptiveColor& tint, const QString& caption, const QString& value,
                       QWidget* parent)
    : QWidget(parent)
    , fraction_(fraction)
    , tint_(tint)
    , caption_(caption)
    , value_(value)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(caption);
    setAccessibleDescription(value);
}

qreal WidgetRing::spanDegrees(double fraction)
{
    if (!(fraction > 0)) {
        return 0;
    }
    return std::min(fraction, 1.0) * 360;
}

QRectF WidgetRing::ringFrame() const
{
    return {(width() - kRingSide) / 2.0, qreal(kOverhang), qreal(kRingSide), qreal(kRingSide)};
}

QSize WidgetRing::sizeHint() const
{
    const QFontMetricsF caption(captionFont());
    const int captionWidth = static_cast<int>(std::ceil(caption.horizontalAdvance(caption_)));
    return {std::max(kRingSide + 2 * kOverhang, captionWidth),
            kOverhang + kRingSide + kCaptionSpacing + static_cast<int>(std::ceil(caption.height())) + kOverhang};
}

QSize WidgetRing::minimumSizeHint() const
{
    return sizeHint();
}

void WidgetRing::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    const QColor tint = tint_.resolve(appearance);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF frame = ringFrame();
    QColor track = tint;
    track.setAlphaF(track.alphaF() * float(kTrackOpacity));
    painter.setPen(QPen(track, kLineWidth, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(frame);

    // A zero arc is skipped: its round caps would still draw a dot.
    const qreal span = spanDegrees(fraction_);
    if (span > 0) {
        painter.setPen(QPen(tint, kLineWidth, Qt::SolidLine, Qt::RoundCap));
        QPainterPath arc;
        arc.arcMoveTo(frame, 90);
        arc.arcTo(frame, 90, -span);
        painter.drawPath(arc);
    }

    painter.setPen(Palette::ink().resolve(appearance));
    FittedText::paint(painter, frame.adjusted(kValuePadding, kValuePadding, -kValuePadding, -kValuePadding), value_,
                      valueFont(), kValueMinimumScale, Qt::AlignHCenter);

    const QFontMetricsF caption(captionFont());
    painter.setPen(Palette::inkSecondary().resolve(appearance));
    painter.setFont(captionFont());
    const QRectF captionRect(0, frame.bottom() + kCaptionSpacing, width(), caption.height());
    painter.drawText(captionRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                     caption.elidedText(caption_, Qt::ElideRight, width()));
}

} // namespace harborlite
