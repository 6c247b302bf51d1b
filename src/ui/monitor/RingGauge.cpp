#include "ui/monitor/RingGauge.h"

#include "ui/paintcache/PictureCache.h"
#include "ui/paintcache/SurfaceCache.h"
#include "ui/theme/Motion.h"
#include "ui/theme/Shapes.h"

#include <QGridLayout>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

double clampedFraction(double fraction)
{
    if (std::isnan(fraction) || fraction <= 0) {
        return 0;
    }
    return std::min(1.0, fraction);
}

} // namespace

RingGauge::RingGauge(double fraction, const AdaptiveColor& tint, qreal lineWidth, QWidget* parent)
    : QWidget(parent)
    , fraction_(fraction)
    , shownFraction_(clampedFraction(fraction))
    , tint_(tint)
    , lineWidth_(lineWidth)
{
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    animation_.setDuration(kAnimationMilliseconds);
    animation_.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        shownFraction_ = value.toDouble();
        update();
    });
}

qreal RingGauge::spanDegrees(double fraction)
{
    return 360 * clampedFraction(fraction);
}

void RingGauge::setFraction(double fraction, bool eases)
{
    if (fraction == fraction_ || (std::isnan(fraction) && std::isnan(fraction_))) {
        return;
    }
    fraction_ = fraction;
    const double target = clampedFraction(fraction);
    animation_.stop();
    if (!eases || !isVisible() || Motion::reduceMotion()) {
        if (target != shownFraction_) {
            shownFraction_ = target;
            update();
        }
        return;
    }
    animation_.setStartValue(shownFraction_);
    animation_.setEndValue(target);
    animation_.start();
}

void RingGauge::setTint(const AdaptiveColor& tint)
{
    if (tint == tint_) {
        return;
    }
    tint_ = tint;
    update();
}

void RingGauge::setCenterWidget(QWidget* center)
{
    static_cast<QGridLayout*>(layout())->addWidget(center, 0, 0, Qt::AlignCenter);
}

QPixmap RingGauge::track(const QColor& tint, const QRectF& circle, qreal ratio) const
{
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    const PictureKey key{PictureLook::of(u"gauge-track", lineWidth_, tint), pixels, ratio};
    QPixmap kept;
    if (PictureCache::find(key, &kept)) {
        return kept;
    }
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(
            QPen(Shapes::faded(tint, kTrackOpacity), lineWidth_, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
        painter.drawEllipse(circle);
    }
    kept = QPixmap::fromImage(std::move(image));
    PictureCache::keep(key, kept);
    return kept;
}

void RingGauge::paintEvent(QPaintEvent*)
{
    const QColor tint = tint_.resolve(Palette::appearance(this));
    const qreal side = std::min(width(), height()) - lineWidth_;
    if (side <= 0) {
        return;
    }
    const QRectF circle((width() - side) / 2, (height() - side) / 2, side, side);

    QPainter painter(this);
    // The painter's own scale: a widget rendered onto another device may
    // draw at another ratio than its screen's.
    const qreal plain = SurfaceCache::plainRatio(painter);
    painter.drawPixmap(0, 0, track(tint, circle, plain > 0 ? plain : devicePixelRatioF()));

    const qreal span = spanDegrees(shownFraction_);
    // A zero-length arc with round caps would still paint a dot.
    if (span <= 0) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, circle.top() - lineWidth_ / 2, 0, circle.bottom() + lineWidth_ / 2);
    gradient.setColorAt(0, Shapes::faded(tint, kArcTopOpacity));
    gradient.setColorAt(1, tint);
    painter.setPen(QPen(QBrush(gradient), lineWidth_, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    if (span >= 360) {
        painter.drawEllipse(circle);
        return;
    }
    painter.drawArc(circle, 90 * 16, -static_cast<int>(std::lround(span * 16)));
}

} // namespace harborlite
