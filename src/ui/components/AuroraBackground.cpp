#include "ui/components/AuroraBackground.h"

#include "ui/paintcache/RowBands.h"
#include "ui/paintcache/SurfaceCache.h"
#include "ui/theme/Motion.h"
#include "ui/theme/Shapes.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace harborlite {

namespace {

// The orbs are drawn at an eighth of the resolution and scaled up: blurred
// this much they lose nothing.
constexpr qreal kScale = 0.125;
// The blur is a Gaussian of deviation half its radius; three deviations is
// where it has faded.
constexpr qreal kSigma = AuroraBackground::kBlurRadius / 2;
constexpr qreal kReach = 3 * kSigma;

} // namespace

AuroraBackground::AuroraBackground(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    frameTimer_.setInterval(kFrameMilliseconds);
    connect(&frameTimer_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

const std::array<AuroraOrb, 4>& AuroraBackground::orbs()
{
    static const std::array<AuroraOrb, 4> all = {{
        {PaletteRole::mint, 1.00, 700, {-120, -190}, {-200, -260}},
        {PaletteRole::accentBright, 0.75, 520, {210, 30}, {300, -70}},
        {PaletteRole::mintDeep, 0.85, 580, {-30, 230}, {-110, 300}},
        {PaletteRole::accent, 0.40, 420, {300, 320}, {210, 280}},
    }};
    return all;
}

qreal AuroraBackground::opacity(const AuroraOrb& orb, Appearance appearance)
{
    return orb.baseOpacity * (appearance == Appearance::dark ? kDarkDimming : 1.0);
}

QPointF AuroraBackground::offset(const AuroraOrb& orb, qreal drift)
{
    return orb.restOffset + (orb.driftedOffset - orb.restOffset) * drift;
}

qreal AuroraBackground::driftAt(qreal elapsed)
{
    return Motion::autoreversing(elapsed, kDriftSeconds);
}

bool AuroraBackground::motionAllowed(bool windowActive, bool reduceMotion)
{
    return windowActive && !reduceMotion;
}

qreal AuroraBackground::drift() const
{
    return isDrifting() && driftClock_.isValid() ? driftAt(driftClock_.elapsed() / 1000.0) : 0.0;
}

void AuroraBackground::startDrift()
{
    const bool allowed = isVisible() && motionAllowed(window()->isActiveWindow(), Motion::reduceMotion());
    if (allowed == isDrifting()) {
        return;
    }
    if (allowed) {
        driftClock_.start();
        frameTimer_.start();
    } else {
        frameTimer_.stop();
        driftClock_.invalidate();
    }
    update();
}

const std::array<QImage, 4>& AuroraBackground::orbImages(Appearance appearance)
{
    if (hasOrbCache_ && orbCacheAppearance_ == appearance) {
        return orbCache_;
    }
    for (size_t index = 0; index < orbs().size(); ++index) {
        const AuroraOrb& orb = orbs()[index];
        const int side = static_cast<int>(std::ceil((orb.diameter + 2 * kReach) * kScale));
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(Shapes::faded(Palette::color(orb.color).resolve(appearance), opacity(orb, appearance)));
            const qreal radius = orb.diameter / 2 * kScale;
            painter.drawEllipse(QPointF(side / 2.0, side / 2.0), radius, radius);
        }
        Shapes::blur(image, kSigma * kScale);
        orbCache_[index] = image;
    }
    hasOrbCache_ = true;
    orbCacheAppearance_ = appearance;
    return orbCache_;
}

QImage AuroraBackground::compose(const QSize& size, Appearance appearance, qreal driftFraction, qreal ratio)
{
    const QSize small(std::max(1, static_cast<int>(std::ceil(size.width() * kScale))),
                      std::max(1, static_cast<int>(std::ceil(size.height() * kScale))));
    // The backdrop is opaque: RGB32 copies and scales fastest.
    QImage reduced(small, QImage::Format_RGB32);
    reduced.fill(Palette::canvas().resolve(appearance));
    {
        QPainter painter(&reduced);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QPointF center(size.width() / 2.0, size.height() / 2.0);
        const std::array<QImage, 4>& images = orbImages(appearance);
        for (size_t index = 0; index < orbs().size(); ++index) {
            const AuroraOrb& orb = orbs()[index];
            const QPointF at = center + offset(orb, driftFraction);
            const qreal half = orb.diameter / 2 + kReach;
            painter.drawImage(
                QRectF((at.x() - half) * kScale, (at.y() - half) * kScale, 2 * half * kScale, 2 * half * kScale),
                images[index]);
        }
        QLinearGradient wash(0, 0, 0, small.height());
        wash.setColorAt(0, Palette::washTop().resolve(appearance));
        wash.setColorAt(0.5, Palette::washMiddle().resolve(appearance));
        wash.setColorAt(1, Palette::washBottom().resolve(appearance));
        painter.fillRect(QRectF(QPointF(0, 0), small), wash);
    }
    // Scaled up straight to the device's pixels: no second scaling on the screen.
    QImage full(
        QSize(static_cast<int>(std::ceil(size.width() * ratio)), static_cast<int>(std::ceil(size.height() * ratio))),
        QImage::Format_RGB32);
    {
        QPainter painter(&full);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(QPointF(0, 0), QSizeF(small) * (ratio / kScale)), reduced);
    }
    full.setDevicePixelRatio(ratio);
    return full;
}

void AuroraBackground::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    // The painter's ratio, not the widget's: a widget rendered into a picture
    // of another ratio is drawn at that one.
    const qreal plain = SurfaceCache::plainRatio(painter);
    const qreal ratio = plain > 0 ? plain : devicePixelRatioF();
    const Appearance appearance = Palette::appearance(this);
    const qreal now = drift();
    if (composedSize_ != size() || composedRatio_ != ratio || composedAppearance_ != appearance
        || composedDrift_ != now) {
        composed_ = compose(size(), appearance, now, ratio);
        composedSize_ = size();
        composedRatio_ = ratio;
        composedAppearance_ = appearance;
        composedDrift_ = now;
    }
    if (plain <= 0) {
        painter.drawImage(QRectF(rect()), composed_);
        return;
    }
    // Copied in device pixels, one to one; an exposed part whose edges fall
    // inside device pixels (a ratio of 1.5) takes the whole pixels around it.
    const QTransform toDevice = painter.deviceTransform();
    const QPoint origin = toDevice.map(QPointF(0, 0)).toPoint();
    SurfaceCache::useDevicePixels(painter);
    for (const QRect& exposed : event->region()) {
        const QRect onDevice = toDevice.mapRect(QRectF(exposed)).toAlignedRect();
        RowBands::forEach(onDevice,
                          [&](const QRect& rows) { painter.drawImage(rows, composed_, rows.translated(-origin)); });
    }
}

void AuroraBackground::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    startDrift();
}

void AuroraBackground::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    frameTimer_.stop();
    driftClock_.invalidate();
}

void AuroraBackground::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange) {
        startDrift();
    }
    QWidget::changeEvent(event);
}

bool AuroraBackground::event(QEvent* event)
{
    if (event->type() == Motion::changedEventType()) {
        startDrift();
        return true;
    }
    return QWidget::event(event);
}

} // namespace harborlite
