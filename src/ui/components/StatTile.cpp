#include "ui/components/StatTile.h"

#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace harborlite {

StatTile::StatTile(const QString& title, const QString& value, const QString& caption, double fraction,
                   const QString& symbol, const AdaptiveColor& tint, QWidget* parent)
    : QWidget(parent)
    , title_(title)
    , value_(value)
    , caption_(caption)
    , fraction_(fraction)
    , symbol_(symbol)
    , tint_(tint)
    , titleFont_(TypeStyle::font(12, QFont::DemiBold))
    , valueFont_(TypeStyle::font(22, QFont::Bold))
    , captionFont_(TypeStyle::font(10.5, QFont::Normal))
{
    setAccessibleName(title);
    setAccessibleDescription(value);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

qreal StatTile::fillWidth(qreal width, double fraction)
{
    const double level = std::isnan(fraction) ? 0.0 : std::clamp(fraction, 0.0, 1.0);
    return std::max(kBarHeight, width * level);
}

void StatTile::setValue(const QString& value)
{
    if (value == value_) {
        return;
    }
    value_ = value;
    setAccessibleDescription(value);
    update();
}

void StatTile::setCaption(const QString& caption)
{
    if (caption == caption_) {
        return;
    }
    caption_ = caption;
    update();
}

void StatTile::setFraction(double fraction)
{
    if (fraction == fraction_) {
        return;
    }
    fraction_ = fraction;
    update();
}

qreal StatTile::headerHeight() const
{
    return std::max(kSymbolSide, QFontMetricsF(titleFont_).height());
}

QRectF StatTile::barRect() const
{
    const qreal top = kPadding + headerHeight() + kSpacing + QFontMetricsF(valueFont_).height() + kSpacing;
    return {kPadding, top, std::max<qreal>(0, width() - 2 * kPadding), kBarHeight};
}

QSize StatTile::sizeHint() const
{
    const qreal height = 2 * kPadding + headerHeight() + QFontMetricsF(valueFont_).height() + kBarHeight
        + QFontMetricsF(captionFont_).height() + 3 * kSpacing;
    return {180, static_cast<int>(std::ceil(height))};
}

QSize StatTile::minimumSizeHint() const
{
    return {static_cast<int>(2 * kPadding), sizeHint().height()};
}

void StatTile::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    const QColor tint = tint_.resolve(appearance);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect();
    painter.fillPath(Shapes::roundedRect(area, kCornerRadius), Palette::innerFill().resolve(appearance));
    Shapes::strokeInside(painter, area, kCornerRadius, Palette::hairline().resolve(appearance), kEdgeWidth);

    const qreal left = kPadding;
    const qreal contentWidth = std::max<qreal>(0, area.width() - 2 * kPadding);
    qreal y = kPadding;
    const qreal header = headerHeight();
    Symbols::paint(painter, QRectF(left, y + (header - kSymbolSide) / 2, kSymbolSide, kSymbolSide), symbol_, tint);
    const qreal titleLeft = left + kSymbolSide + kHeaderSpacing;
    painter.setFont(titleFont_);
    painter.setPen(Palette::inkSecondary().resolve(appearance));
    painter.drawText(QRectF(titleLeft, y, std::max<qreal>(0, area.width() - kPadding - titleLeft), header),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(titleFont_)
                         .elidedText(title_, Qt::ElideRight, std::max<qreal>(0, area.width() - kPadding - titleLeft)));
    y += header + kSpacing;

    const qreal valueHeight = QFontMetricsF(valueFont_).height();
    painter.setFont(valueFont_);
    painter.setPen(Palette::ink().resolve(appearance));
    painter.drawText(QRectF(left, y, contentWidth, valueHeight), Qt::AlignLeft | Qt::AlignVCenter, value_);
    y += valueHeight + kSpacing;

    const QRectF track(left, y, contentWidth, kBarHeight);
    painter.fillPath(Shapes::capsule(track), Palette::hairline().resolve(appearance));
    const QRectF fill(left, y, fillWidth(contentWidth, fraction_), kBarHeight);
    QLinearGradient gradient(fill.topLeft(), fill.topRight());
    gradient.setColorAt(0, Shapes::faded(tint, 0.75));
    gradient.setColorAt(1, tint);
    painter.fillPath(Shapes::capsule(fill), gradient);
    y += kBarHeight + kSpacing;

    const QFontMetricsF captionMetrics(captionFont_);
    painter.setFont(captionFont_);
    painter.setPen(Palette::inkTertiary().resolve(appearance));
    painter.drawText(QRectF(left, y, contentWidth, captionMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     captionMetrics.elidedText(caption_, Qt::ElideRight, contentWidth));
}

} // namespace harborlite
