#include "widgets/extension/WidgetBar.h"

#include "widgets/extension/WidgetFont.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

QFont titleFont()
{
    return WidgetFont::font(10, QFont::DemiBold);
}

QFont detailFont()
{
    return WidgetFont::font(10, QFont::Medium);
}

int rowHeight()
{
    return static_cast<int>(
        std::ceil(std::max(QFontMetricsF(titleFont()).height(), QFontMetricsF(detailFont()).height())));
}

// The gap a row keeps between its title and its detail.
constexpr qreal kRowSpacing = 8;

} // namespace

WidgetBar::WidgetBar(const QString& title, const QString& detail, double fraction, const AdaptiveColor& tint,
                     QWidget* parent)
    : QWidget(parent)
    , title_(title)
    , detail_(detail)
    , fraction_(fraction)
    , tint_(tint)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(title);
    setAccessibleDescription(detail);
}

qreal WidgetBar::fillWidth(qreal trackWidth, double fraction)
{
    const double clamped = fraction > 0 ? std::min(fraction, 1.0) : 0.0;
    return std::max(kMinimumFill, trackWidth * clamped);
}

QSize WidgetBar::sizeHint() const
{
    const int row = static_cast<int>(std::ceil(QFontMetricsF(titleFont()).horizontalAdvance(title_) + kRowSpacing
                                               + QFontMetricsF(detailFont()).horizontalAdvance(detail_)));
    return {row, rowHeight() + kSpacing + kBarHeight};
}

QSize WidgetBar::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void WidgetBar::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const qreal row = rowHeight();
    const QFontMetricsF detailMetrics(detailFont());
    const qreal detailWidth = std::min<qreal>(detailMetrics.horizontalAdvance(detail_), width());
    painter.setFont(detailFont());
    painter.setPen(Palette::ink().resolve(appearance));
    painter.drawText(QRectF(width() - detailWidth, 0, detailWidth, row),
                     Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                     detailMetrics.elidedText(detail_, Qt::ElideRight, detailWidth));
    const qreal titleWidth = std::max<qreal>(0, width() - detailWidth - kRowSpacing);
    painter.setFont(titleFont());
    painter.setPen(Palette::inkSecondary().resolve(appearance));
    painter.drawText(QRectF(0, 0, titleWidth, row), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetricsF(titleFont()).elidedText(title_, Qt::ElideRight, titleWidth));

    const QColor tint = tint_.resolve(appearance);
    QColor track = tint;
    track.setAlphaF(track.alphaF() * float(kTrackOpacity));
    const QRectF bar(0, row + kSpacing, width(), kBarHeight);
    const qreal radius = kBarHeight / 2.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(track);
    painter.drawRoundedRect(bar, radius, radius);
    painter.setBrush(tint);
    painter.drawRoundedRect(QRectF(bar.left(), bar.top(), fillWidth(bar.width(), fraction_), kBarHeight), radius,
                            radius);
}

} // namespace harborlite
