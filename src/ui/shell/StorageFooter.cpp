#include "ui/shell/StorageFooter.h"

#include "paint/Palette.h"
#include "shared/Formatting.h"
#include "ui/theme/GlassSurface.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/TypeStyle.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

constexpr int kSpacing = 7;

QFont labelFont()
{
    return TypeStyle::font(11, QFont::DemiBold);
}
QFont percentFont()
{
    return TypeStyle::font(11, QFont::Bold);
}
QFont captionFont()
{
    return TypeStyle::font(10, QFont::Normal);
}

} // namespace

QString StorageFooter::Figures::caption() const
{
    return StorageFooter::tr("%1 free of %2").arg(freeText, totalText);
}

StorageFooter::Figures StorageFooter::figures(qint64 free, qint64 total)
{
    Figures made;
    made.fraction = total > 0 ? static_cast<double>(std::max<qint64>(0, total - free)) / static_cast<double>(total) : 0;
    made.percentText = Format::percent(made.fraction);
    made.freeText = Format::byteText(free);
    made.totalText = Format::byteText(total);
    return made;
}

qreal StorageFooter::fillWidth(qreal trackWidth, double fraction)
{
    return std::max(kShortestFill, trackWidth * fraction);
}

StorageFooter::StorageFooter(QWidget* parent)
    : QWidget(parent)
    , figures_(figures(0, 0))
{
    setObjectName(QStringLiteral("storageFooter"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void StorageFooter::setDisk(qint64 free, qint64 total)
{
    Figures next = figures(free, total);
    if (next == figures_) {
        return;
    }
    figures_ = std::move(next);
    update();
}

QSize StorageFooter::sizeHint() const
{
    const int header = std::max(QFontMetrics(labelFont()).height(), QFontMetrics(percentFont()).height());
    const int caption = QFontMetrics(captionFont()).height();
    const int height = kPadding + header + kSpacing + static_cast<int>(kBarHeight) + kSpacing + caption + kPadding;
    return {180, height};
}

QSize StorageFooter::minimumSizeHint() const
{
    return {2 * kPadding + 60, sizeHint().height()};
}

void StorageFooter::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = rect();
    GlassSurface::paint(painter, card, kCornerRadius, appearance);

    const QRectF content = card.adjusted(kPadding, kPadding, -kPadding, -kPadding);
    const QFontMetrics labelMetrics(labelFont());
    const QFontMetrics percentMetrics(percentFont());
    const int header = std::max(labelMetrics.height(), percentMetrics.height());
    const QRectF headerRect(content.left(), content.top(), content.width(), header);
    painter.setFont(labelFont());
    painter.setPen(Palette::inkSecondary().resolve(appearance));
    painter.drawText(headerRect, Qt::AlignLeft | Qt::AlignVCenter, tr("Storage"));

    painter.setFont(percentFont());
    painter.setPen(Palette::accentDeep().resolve(appearance));
    painter.drawText(headerRect, Qt::AlignRight | Qt::AlignVCenter, figures_.percentText);

    const QRectF track(content.left(), headerRect.bottom() + kSpacing, content.width(), kBarHeight);
    painter.fillPath(Shapes::capsule(track), Palette::hairline().resolve(appearance));
    const QRectF fill(track.left(), track.top(), std::min(track.width(), fillWidth(track.width(), figures_.fraction)),
                      kBarHeight);
    painter.fillPath(Shapes::capsule(fill), Palette::accentGradient(fill, appearance));

    const QRectF captionRect(content.left(), track.bottom() + kSpacing, content.width(),
                             QFontMetrics(captionFont()).height());
    painter.setFont(captionFont());
    painter.setPen(Palette::inkTertiary().resolve(appearance));
    painter.drawText(captionRect, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetrics(captionFont())
                         .elidedText(figures_.caption(), Qt::ElideRight, static_cast<int>(captionRect.width())));
}

} // namespace harborlite
