#pragma once

#include <QColor>
#include <QImage>
#include <QMarginsF>
#include <QRectF>

class QPainter;

namespace harborlite {

// The drop shadow of a raised surface: the surface's shape blurred by
// `radius`, moved down by 0.4 × radius. A widget cannot paint outside itself,
// so a shadowed widget keeps margins() around its surface. Shadows as placed
// on the device are kept in the picture cache, so repaints cost one copy.
class SoftShadow {
public:
    SoftShadow(qreal radius, qreal opacity);

    qreal radius() const { return radius_; }
    qreal opacity() const { return opacity_; }
    qreal offsetY() const { return 0.4 * radius_; }

    // Room the shadow needs around its surface on each side.
    QMarginsF margins() const;

    // Draws the shadow of the rounded rectangle `surface` in `color` (its
    // opacity multiplied by opacity()).
    void paint(QPainter& painter, const QRectF& surface, qreal cornerRadius, const QColor& color);

private:
    // The surface's shape blurred, at half resolution, with room for its reach.
    QImage blurred(const QSizeF& surface, qreal cornerRadius, const QColor& color) const;

    qreal radius_;
    qreal opacity_;
};

} // namespace harborlite
