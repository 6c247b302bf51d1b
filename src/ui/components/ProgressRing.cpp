#include "ui/components/ProgressRing.h"

#include "paint/Palette.h"
#include "ui/paintcache/PictureCache.h"
#include "ui/paintcache/RowBands.h"
#include "ui/theme/Motion.h"
#include "ui/theme/Shapes.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <functional>

namespace harborlite {

namespace {

// The track: the faint circle under the arc and its inner line.
void paintTrack(QPainter& painter, const QRectF& circle, qreal lineWidth, const QColor& accent)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Shapes::faded(accent, 0.16), lineWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawEllipse(circle);
    const qreal inset = lineWidth / 2;
    painter.setPen(QPen(Shapes::faded(accent, 0.1), 1));
    painter.drawEllipse(circle.adjusted(inset, inset, -inset, -inset));
}

// Draws a layer of the widget's size at its origin, in bands (RowBands).
void drawLayer(QPainter& painter, const QImage& layer)
{
    const qreal scale = layer.devicePixelRatio();
    const QSize logical = (QSizeF(layer.size()) / scale).toSize();
    RowBands::forEach(QRect(QPoint(0, 0), logical), [&](const QRect& rows) {
        painter.drawImage(QRectF(rows), layer,
                          QRectF(rows.x() * scale, rows.y() * scale, rows.width() * scale, rows.height() * scale));
    });
}

} // namespace

ProgressRing::ProgressRing(double progress, qreal lineWidth, bool isIndeterminate, QWidget* parent)
    : QWidget(parent)
    , progress_(progress)
    , shownProgress_(progress)
    , lineWidth_(lineWidth)
    , isIndeterminate_(isIndeterminate)
{
    setAccessibleName(tr("Progress"));
    progressAnimation_.setDuration(kProgressMilliseconds);
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
    progressAnimation_.setEasingCurve(curve);
    connect(&progressAnimation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        // Only the arc between the two lengths changes, with the end caps and glow.
        const double before = shownProgress_;
        shownProgress_ = value.toDouble();
        if (isIndeterminate_) {
            update();
            return;
        }
        const auto degrees = [](double fraction) { return 360 * std::clamp(fraction, 0.0, 1.0); };
        update(arcBounds(degrees(std::min(before, shownProgress_)), degrees(std::max(before, shownProgress_)),
                         overhang(lineWidth_)));
    });
    frameTimer_.setInterval(16);
    connect(&frameTimer_, &QTimer::timeout, this, &ProgressRing::showFrame);
}

RingArc ProgressRing::arc(double progress, bool isIndeterminate, bool reduceMotion, qreal elapsed)
{
    if (!isIndeterminate) {
        return {std::max(progress, 0.0), -90};
    }
    if (reduceMotion) {
        return {kLongestSweep, 0};
    }
    const qreal turn = std::fmod(std::max<qreal>(elapsed, 0), kTurnSeconds) / kTurnSeconds;
    const qreal breath = Motion::autoreversing(elapsed, kSweepSeconds);
    return {kShortestSweep + (kLongestSweep - kShortestSweep) * breath, 360 * turn};
}

qreal ProgressRing::glintDegrees(qreal elapsed)
{
    return 360 * std::fmod(std::max<qreal>(elapsed, 0), kGlintSeconds) / kGlintSeconds;
}

RingArc ProgressRing::currentArc() const
{
    return arc(shownProgress_, isIndeterminate_, !isMoving(),
               motionClock_.isValid() ? motionClock_.elapsed() / 1000.0 : 0.0);
}

void ProgressRing::setProgress(double progress)
{
    if (progress == progress_) {
        return;
    }
    progress_ = progress;
    progressAnimation_.stop();
    if (isIndeterminate_ || !isVisible() || Motion::reduceMotion()) {
        shownProgress_ = progress;
        update();
        return;
    }
    progressAnimation_.setStartValue(shownProgress_);
    progressAnimation_.setEndValue(progress);
    progressAnimation_.start();
}

void ProgressRing::setIndeterminate(bool indeterminate)
{
    if (indeterminate == isIndeterminate_) {
        return;
    }
    isIndeterminate_ = indeterminate;
    shownProgress_ = progress_;
    start();
    update();
}

void ProgressRing::setWorking(bool working)
{
    if (working == isWorking_) {
        return;
    }
    isWorking_ = working;
    start();
    update();
}

void ProgressRing::start()
{
    if ((isIndeterminate_ || isWorking_) && !Motion::reduceMotion() && isVisible()) {
        if (!frameTimer_.isActive()) {
            motionClock_.start();
            glintHead_ = 0;
            frameTimer_.start();
        }
        return;
    }
    frameTimer_.stop();
    motionClock_.invalidate();
}

void ProgressRing::showFrame()
{
    glintHead_ = glintDegrees(motionClock_.isValid() ? motionClock_.elapsed() / 1000.0 : 0.0);
    if (isIndeterminate_ || !isWorking_) {
        update();
        return;
    }
    update(QRegion(paintedGlint_) | glintBounds(glintHead_));
}

QRectF ProgressRing::circle() const
{
    const qreal margin = overhang(lineWidth_);
    const QRectF frame = QRectF(rect()).adjusted(margin, margin, -margin, -margin);
    const qreal side = std::max<qreal>(0, std::min(frame.width(), frame.height()));
    const QPointF center = frame.center();
    return {center.x() - side / 2, center.y() - side / 2, side, side};
}

QRect ProgressRing::arcBounds(qreal fromDegrees, qreal toDegrees, qreal reach) const
{
    const QRectF circle = this->circle();
    const QPointF center = circle.center();
    const qreal radius = circle.width() / 2;
    // Points every few degrees: the track bulges less than a pixel between them.
    constexpr qreal step = 5;
    const auto at = [&](qreal degrees) {
        const qreal radians = qDegreesToRadians(degrees);
        return center + QPointF(radius * std::sin(radians), -radius * std::cos(radians));
    };
    QPointF least = at(fromDegrees);
    QPointF most = least;
    const auto take = [&](qreal degrees) {
        const QPointF point = at(degrees);
        least = {std::min(least.x(), point.x()), std::min(least.y(), point.y())};
        most = {std::max(most.x(), point.x()), std::max(most.y(), point.y())};
    };
    for (qreal degrees = fromDegrees + step; degrees < toDegrees; degrees += step) {
        take(degrees);
    }
    take(toDegrees);
    const qreal margin = reach + 2;
    return QRectF(least, most).adjusted(-margin, -margin, margin, margin).toAlignedRect() & rect();
}

QRect ProgressRing::glintBounds(qreal headDegrees) const
{
    return arcBounds(headDegrees - kGlintLength * 360, headDegrees, lineWidth_);
}

QSize ProgressRing::sizeHint() const
{
    const int side = static_cast<int>(std::ceil(48 + 2 * overhang(lineWidth_)));
    return {side, side};
}

void ProgressRing::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    start();
}

void ProgressRing::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    frameTimer_.stop();
    motionClock_.invalidate();
}

bool ProgressRing::event(QEvent* event)
{
    if (event->type() == Motion::changedEventType()) {
        start();
        update();
        return true;
    }
    return QWidget::event(event);
}

void ProgressRing::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle = this->circle();
    paintedGlint_ = {};
    if (circle.width() <= 0) {
        return;
    }
    const RingArc shown = currentArc();
    if (!isMoving() && progressAnimation_.state() != QAbstractAnimation::Running) {
        drawLayer(painter, still(circle, shown, appearance));
        return;
    }
    paintMoving(painter, circle, shown, appearance);
    if (isWorking_ && !isIndeterminate_ && isMoving()) {
        paintGlint(painter, circle, appearance);
        paintedGlint_ = glintBounds(glintHead_);
    }
}

PictureKey ProgressRing::pictureKey(const RingArc& shown, Appearance appearance) const
{
    const qreal scale = devicePixelRatioF();
    return {PictureLook::of(u"ring", lineWidth_, appearance, Palette::accent().resolve(appearance), shown.startDegrees,
                            shown.length),
            (QSizeF(size()) * scale).toSize(), scale};
}

QImage ProgressRing::layer(const std::function<void(QPainter&)>& paint) const
{
    // The widget's own rectangle, so what it holds lies on the pixels it
    // would be drawn on directly.
    const qreal scale = devicePixelRatioF();
    QImage image((QSizeF(size()) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return image;
}

QImage ProgressRing::picture(const QRectF& circle, const RingArc& shown, Appearance appearance)
{
    const QImage& trackLayer = track(circle, Palette::accent().resolve(appearance));
    return layer([&](QPainter& painter) {
        drawLayer(painter, trackLayer);
        paintArc(painter, circle, shown, appearance);
    });
}

QImage ProgressRing::still(const QRectF& circle, const RingArc& shown, Appearance appearance)
{
    // A ring at rest is one picture, the same on every visit to its screen:
    // it is kept by its look, not by the widget, which a visit makes anew.
    const PictureKey key = pictureKey(shown, appearance);
    QPixmap kept;
    if (!PictureCache::find(key, &kept)) {
        kept = QPixmap::fromImage(picture(circle, shown, appearance));
        PictureCache::keep(key, kept);
    }
    return kept.toImage();
}

void ProgressRing::paintMoving(QPainter& painter, const QRectF& circle, const RingArc& shown, Appearance appearance)
{
    // While the glint runs round a progress that holds still, every frame
    // would stroke the same arc again: the second frame keeps a picture. While
    // the progress moves on, a picture would serve one frame only.
    const PictureKey key = pictureKey(shown, appearance);
    if (key == movingKey_) {
        if (moving_.isNull()) {
            moving_ = picture(circle, shown, appearance);
        }
        drawLayer(painter, moving_);
        return;
    }
    movingKey_ = key;
    moving_ = QImage();
    drawLayer(painter, track(circle, Palette::accent().resolve(appearance)));
    paintArc(painter, circle, shown, appearance);
}

const QImage& ProgressRing::track(const QRectF& circle, const QColor& accent)
{
    const qreal scale = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * scale).toSize();
    if (track_.size() != pixels || track_.devicePixelRatio() != scale || trackAccent_ != accent) {
        track_ = layer([&](QPainter& painter) { paintTrack(painter, circle, lineWidth_, accent); });
        trackAccent_ = accent;
    }
    return track_;
}

void ProgressRing::paintArc(QPainter& painter, const QRectF& circle, const RingArc& shown, Appearance appearance) const
{
    // A zero-length round-capped stroke would still draw a dot.
    if (shown.length <= 0) {
        return;
    }
    const QColor accent = Palette::accent().resolve(appearance);
    const qreal length = std::min<qreal>(shown.length, 1);
    const qreal side = circle.width();
    painter.save();
    painter.translate(circle.center());
    painter.rotate(shown.startDegrees);
    const QRectF local(-side / 2, -side / 2, side, side);
    QPainterPath path;
    path.arcMoveTo(local, 0);
    path.arcTo(local, 0, -length * 360);

    // The glow: wider, fainter strokes of the accent under the arc.
    const qreal glow = glowRadius(lineWidth_);
    for (int layer = 3; layer >= 1; --layer) {
        painter.setPen(
            QPen(Shapes::faded(accent, 0.35 / 3), lineWidth_ + 2 * glow * layer / 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(path);
    }
    painter.setPen(
        QPen(QBrush(Palette::dialGradient(QPointF(0, 0), appearance)), lineWidth_, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(path);
    painter.restore();
}

void ProgressRing::paintGlint(QPainter& painter, const QRectF& circle, Appearance appearance) const
{
    // A short stroke of the accent fading towards its tail, its head running
    // clockwise along the track.
    const qreal head = glintHead_;
    const QColor light = Palette::accentBright().resolve(appearance);
    constexpr int steps = 16;
    painter.save();
    for (int step = 0; step < steps; ++step) {
        const qreal fade = qreal(step + 1) / steps;
        QColor color = light;
        color.setAlphaF(light.alphaF() * fade * fade);
        // Only the head is rounded; the tail's pieces meet flat.
        painter.setPen(QPen(color, lineWidth_ * 0.6, Qt::SolidLine, step == steps - 1 ? Qt::RoundCap : Qt::FlatCap));
        const qreal length = kGlintLength * 360 / steps;
        // Qt's angles run anticlockwise from three o'clock.
        const qreal start = 90 - (head - kGlintLength * 360 + step * length);
        painter.drawArc(circle, static_cast<int>(start * 16), static_cast<int>(-length * 16));
    }
    painter.restore();
}

} // namespace harborlite
