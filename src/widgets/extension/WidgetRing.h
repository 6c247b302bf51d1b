#pragma once

#include "paint/Palette.h"

#include <QString>
#include <QWidget>

namespace harborlite {

// A 50 × 50 ring: a faint full-circle track and an arc from twelve o'clock
// clockwise to the fraction, with the value inside and the caption below.
// The strokes are centred on the circle, so they reach kOverhang beyond the
// ring's frame; the widget keeps that room on every side and the views that
// lay rings out take it back from their spacing.
class WidgetRing : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRingSide = 50;
    static constexpr qreal kLineWidth = 6;
    static constexpr int kOverhang = 3;
    static constexpr int kCaptionSpacing = 5;
    static constexpr qreal kTrackOpacity = 0.18;
    static constexpr qreal kValueMinimumScale = 0.6;
    static constexpr qreal kValuePadding = 4;

    WidgetRing(double fraction, const AdaptiveColor& tint, const QString& caption, const QString& value,
               QWidget* parent = nullptr);

    // The arc's sweep in degrees: the fraction clamped to 0...1 (a fraction
    // that is not a number draws no arc).
    static qreal spanDegrees(double fraction);

    double fraction() const { return fraction_; }
    const QString& caption() const { return caption_; }
    const QString& value() const { return value_; }

    // The ring's 50 × 50 frame inside the widget.
    QRectF ringFrame() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double fraction_;
    AdaptiveColor tint_;
    QString caption_;
    QString value_;
};

} // namespace harborlite
