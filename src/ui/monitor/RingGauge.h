#pragma once

#include "paint/Palette.h"

#include <QVariantAnimation>
#include <QWidget>

namespace harborlite {

// A circular gauge: a faint full-circle track and a gradient arc from twelve
// o'clock growing clockwise to the fraction, easing over 0.4 s when it
// changes (at once with reduce motion on or while hidden), with a centre
// widget laid out in the middle. The circle fits the shorter side less half
// the line width, so the stroke is never cut.
class RingGauge : public QWidget {
    Q_OBJECT

public:
    static constexpr int kAnimationMilliseconds = 400;
    static constexpr qreal kTrackOpacity = 0.16;
    static constexpr qreal kArcTopOpacity = 0.7;

    RingGauge(double fraction, const AdaptiveColor& tint, qreal lineWidth, QWidget* parent = nullptr);

    // The arc's sweep in degrees, clockwise from twelve o'clock: none at or
    // below 0 (and for a fraction that is not a number), the whole circle from 1.
    static qreal spanDegrees(double fraction);

    double fraction() const { return fraction_; }
    // The fraction as drawn now, while the arc eases towards fraction().
    double shownFraction() const { return shownFraction_; }
    const AdaptiveColor& tint() const { return tint_; }
    qreal lineWidth() const { return lineWidth_; }

    void setFraction(double fraction);
    void setTint(const AdaptiveColor& tint);
    // Puts `center` in the middle of the ring; the gauge takes ownership.
    void setCenterWidget(QWidget* center);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double fraction_;
    double shownFraction_;
    AdaptiveColor tint_;
    qreal lineWidth_;
    QVariantAnimation animation_;
};

} // namespace harborlite
