#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QVariantAnimation>
#include <QWidget>

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
// reduce motion on it stands still at 0.72 from three o'clock.
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

    ProgressRing(double progress, qreal lineWidth, bool isIndeterminate, QWidget* parent = nullptr);

    // The arc at `elapsed` seconds since the motion started (indeterminate,
    // reduce motion off), or for the given progress (determinate).
    static RingArc arc(double progress, bool isIndeterminate, bool reduceMotion, qreal elapsed);
    static qreal glowRadius(qreal lineWidth) { return lineWidth * 0.4; }
    static qreal overhang(qreal lineWidth) { return lineWidth / 2 + glowRadius(lineWidth); }

    double progress() const { return progress_; }
    qreal lineWidth() const { return lineWidth_; }
    bool isIndeterminate() const { return isIndeterminate_; }
    // Whether the spin and the breathing run.
    bool isMoving() const { return frameTimer_.isActive(); }
    // The arc as drawn now.
    RingArc currentArc() const;

    void setProgress(double progress);
    void setIndeterminate(bool indeterminate);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

private:
    void start();

    double progress_;
    double shownProgress_;
    qreal lineWidth_;
    bool isIndeterminate_;
    QVariantAnimation progressAnimation_;
    QTimer frameTimer_;
    QElapsedTimer motionClock_;
};

} // namespace harborlite
