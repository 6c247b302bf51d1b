#pragma once

#include "paint/Palette.h"
#include "ui/paintcache/PictureKey.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QVariantAnimation>
#include <QWidget>

#include <functional>

namespace harborlite {

// Where the ring's arc lies: its length as a fraction of the circle and its
// start, in degrees clockwise from 3 o'clock.
struct RingArc {
    qreal length = 0;
    qreal startDegrees = 0;

    bool operator==(const RingArc&) const = default;
};

// The circular progress indicator. Determinate: a gradient arc from twelve
// o'clock growing clockwise to the fraction, easing over 0.45 s when it
// changes. Indeterminate: an arc turning once every 1.35 s while its length
// breathes between 0.06 and 0.72 of the circle over 0.85 s each way; with
// reduce motion on it stands still at 0.72 from three o'clock. While the work
// it measures goes on (`setWorking`), a glint runs round the ring once every
// 1.6 s over the track and the arc, so the ring never stands still for long
// even when the progress does not move; reduce motion stills it too.
//
// The circle is inscribed in the widget's rectangle less overhang() on every
// side: the stroke's outer half and the glow lie in that margin.
class ProgressRing : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kShortestSweep = 0.06;
    static constexpr qreal kLongestSweep = 0.72;
    static constexpr qreal kTurnSeconds = 1.35;
    static constexpr qreal kSweepSeconds = 0.85;
    static constexpr int kProgressMilliseconds = 450;
    static constexpr qreal kGlintSeconds = 1.6;
    static constexpr qreal kGlintLength = 0.1;

    ProgressRing(double progress, qreal lineWidth, bool isIndeterminate, QWidget* parent = nullptr);

    // The arc at `elapsed` seconds since the motion started (indeterminate,
    // reduce motion off), or for the given progress (determinate).
    static RingArc arc(double progress, bool isIndeterminate, bool reduceMotion, qreal elapsed);
    static qreal glowRadius(qreal lineWidth) { return lineWidth * 0.4; }
    // Where the glint's head is `elapsed` seconds into the work, in degrees
    // clockwise from twelve o'clock.
    static qreal glintDegrees(qreal elapsed);
    static qreal overhang(qreal lineWidth) { return lineWidth / 2 + glowRadius(lineWidth); }

    double progress() const { return progress_; }
    qreal lineWidth() const { return lineWidth_; }
    bool isIndeterminate() const { return isIndeterminate_; }
    bool isWorking() const { return isWorking_; }
    // Whether the spin and the breathing, or the glint, run.
    bool isMoving() const { return frameTimer_.isActive(); }
    // The arc as drawn now.
    RingArc currentArc() const;

    void setProgress(double progress);
    void setIndeterminate(bool indeterminate);
    void setWorking(bool working);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

private:
    void start();
    // A frame of the motion: the indeterminate arc turns (all of the ring
    // changes), or only the glint moves on.
    void showFrame();
    // The circle the track runs along, in the widget's coordinates.
    QRectF circle() const;
    // The pixels an arc from `fromDegrees` to `toDegrees` (clockwise from
    // twelve o'clock) and `reach` either side of the track can touch.
    QRect arcBounds(qreal fromDegrees, qreal toDegrees, qreal reach) const;
    QRect glintBounds(qreal headDegrees) const;
    void paintArc(QPainter& painter, const QRectF& circle, const RingArc& shown, Appearance appearance) const;
    void paintGlint(QPainter& painter, const QRectF& circle, Appearance appearance) const;
    const QImage& track(const QRectF& circle, const QColor& accent);
    // An image of the widget's size and scale holding what `paint` draws in
    // the widget's coordinates.
    QImage layer(const std::function<void(QPainter&)>& paint) const;
    PictureKey pictureKey(const RingArc& shown, Appearance appearance) const;
    // The track and the arc on a transparent picture of the widget.
    QImage picture(const QRectF& circle, const RingArc& shown, Appearance appearance);
    QImage still(const QRectF& circle, const RingArc& shown, Appearance appearance);
    void paintMoving(QPainter& painter, const QRectF& circle, const RingArc& shown, Appearance appearance);

    double progress_;
    double shownProgress_;
    qreal lineWidth_;
    bool isIndeterminate_;
    bool isWorking_ = false;
    QVariantAnimation progressAnimation_;
    QTimer frameTimer_;
    QElapsedTimer motionClock_;
    // Where the glint's head was when the last frame began, and where the last
    // paint drew it: a frame repaints only those two places.
    qreal glintHead_ = 0;
    QRect paintedGlint_;
    // The track as last drawn, for the widget's size, scale and accent: the
    // ring repaints every frame while it moves, and stroking two wide
    // antialiased circles cost most of each repaint.
    QImage track_;
    QColor trackAccent_;
    // The look of the track and the arc as last drawn while moving, and their
    // picture once that look was drawn twice.
    QImage moving_;
    PictureKey movingKey_;
};

} // namespace harborlite
