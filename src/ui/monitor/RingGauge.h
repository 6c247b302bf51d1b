#pragma once

#include "paint/Palette.h"

#include <QPixmap>
#include <QVariantAnimation>
#include <QWidget>

namespace harborlite {

// A circular gauge: a faint full-circle track and a gradient arc from twelve
// o'clock growing clockwise to the fraction, easing over 0.4 s when it
// changes (at once with reduce motion on, while hidden, or when the caller
// says so), with a centre widget laid out in the middle. The circle fits the
// shorter side less half the line width, so the stroke is never cut.
//
// A live display sets a new fraction every sample: the track is a picture
// kept by its look (size, ratio, width, colour), so a repaint strokes the arc
// alone.
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

    // With `eases` false the arc is drawn at the new fraction at once, as for
    // a reading that changes with every sample.
    void setFraction(double fraction, bool eases = true);
    void setTint(const AdaptiveColor& tint);
    // Puts `center` in the middle of the ring; the gauge takes ownership.
    void setCenterWidget(QWidget* center);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The track drawn at `ratio` device pixels per logical pixel.
    QPixmap track(const QColor& tint, const QRectF& circle, qreal ratio) const;

    double fraction_;
    double shownFraction_;
    AdaptiveColor tint_;
    qreal lineWidth_;
    QVariantAnimation animation_;
};

} // namespace harborlite
