#pragma once

#include "paint/Palette.h"

#include <QPainterPath>
#include <QWidget>

#include <optional>
#include <vector>

namespace harborlite {

// A line chart of a series, oldest value on the left edge and newest on the
// right, with straight segments and an optional gradient fill below the line.
// Fewer than two values draw a faint one-pixel baseline at the bottom.
class Sparkline : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kBaselineOpacity = 0.18;
    static constexpr qreal kFillTopOpacity = 0.32;
    static constexpr qreal kFillBottomOpacity = 0.02;

    Sparkline(const AdaptiveColor& tint, bool showsFill, qreal lineWidth, QWidget* parent = nullptr);

    // The series as heights of 0...1: each value divided by the scale (1 when
    // there is none) and clamped. A scale of 0 or less leaves the values as
    // they are.
    static std::vector<double> points(const std::vector<double>& values, std::optional<double> scale);

    // The line through the points in a rectangle of `size` (value 1 at the
    // top edge), or, closed, the area between it and the bottom edge. Empty
    // for fewer than two points.
    static QPainterPath path(const std::vector<double>& points, const QSizeF& size, bool closed);

    const std::vector<double>& values() const { return values_; }
    const std::optional<double>& scale() const { return scale_; }

    void setValues(std::vector<double> values, std::optional<double> scale);
    void setTint(const AdaptiveColor& tint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AdaptiveColor tint_;
    bool showsFill_;
    qreal lineWidth_;
    std::vector<double> values_;
    std::optional<double> scale_;
};

} // namespace harborlite
