#include "ui/monitor/Sparkline.h"

#include "ui/theme/Shapes.h"

#include <QPainter>

#include <algorithm>

namespace harborlite {

Sparkline::Sparkline(const AdaptiveColor& tint, bool showsFill, qreal lineWidth, QWidget* parent)
    : QWidget(parent)
    , tint_(tint)
    , showsFill_(showsFill)
    , lineWidth_(lineWidth)
{
}

std::vector<double> Sparkline::points(const std::vector<double>& values, std::optional<double> scale)
{
    if (scale && *scale <= 0) {
        return values;
    }
    const double top = scale.value_or(1);
    std::vector<double> result;
    result.reserve(values.size());
    for (const double value : values) {
        const double height = value / top;
        // Written so that a value that is not a number lies at the bottom.
        result.push_back(height > 0 ? std::min(1.0, height) : 0);
    }
    return result;
}

QPainterPath Sparkline::path(const std::vector<double>& points, const QSizeF& size, bool closed)
{
    QPainterPath path;
    if (points.size() < 2) {
        return path;
    }
    const qreal step = size.width() / static_cast<qreal>(points.size() - 1);
    const auto at = [&](size_t i) { return QPointF(static_cast<qreal>(i) * step, (1 - points[i]) * size.height()); };
    if (closed) {
        path.moveTo(0, size.height());
        path.lineTo(at(0));
    } else {
        path.moveTo(at(0));
    }
    for (size_t i = 1; i < points.size(); ++i) {
        path.lineTo(at(i));
    }
    if (closed) {
        path.lineTo(size.width(), size.height());
        path.closeSubpath();
    }
    return path;
}

void Sparkline::setValues(std::vector<double> values, std::optional<double> scale)
{
    if (values == values_ && scale == scale_) {
        return;
    }
    values_ = std::move(values);
    scale_ = scale;
    update();
}

void Sparkline::setTint(const AdaptiveColor& tint)
{
    if (tint == tint_) {
        return;
    }
    tint_ = tint;
    update();
}

void Sparkline::paintEvent(QPaintEvent*)
{
    const QColor tint = tint_.resolve(Palette::appearance(this));
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const std::vector<double> heights = points(values_, scale_);
    if (heights.size() < 2) {
        painter.fillRect(QRectF(0, height() - 1, width(), 1), Shapes::faded(tint, kBaselineOpacity));
        return;
    }
    const QSizeF area = size();
    if (showsFill_) {
        QLinearGradient gradient(0, 0, 0, area.height());
        gradient.setColorAt(0, Shapes::faded(tint, kFillTopOpacity));
        gradient.setColorAt(1, Shapes::faded(tint, kFillBottomOpacity));
        painter.fillPath(path(heights, area, true), gradient);
    }
    QPen pen(tint, lineWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setMiterLimit(10);
    painter.strokePath(path(heights, area, false), pen);
}

} // namespace harborlite
