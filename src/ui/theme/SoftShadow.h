#pragma once

#include <QColor>
#include <QImage>
#include <QMarginsF>
#include <QRectF>
#include <QString>

class QPainter;

namespace harborlite {

// The drop shadow of a raised surface: the surface's shape blurred by
// `radius`, moved down by 0.4 × radius. A widget cannot paint outside itself,
// so a shadowed widget keeps margins() around its surface. Blurred shapes
// are kept in Qt's pixmap cache, so repaints cost one image draw.
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
    qreal radius_;
    qreal opacity_;
    // The blurred shape last drawn, and what it is kept under in the pixmap
    // cache. The shadow as drawn on the device, on its whole pixels, is kept
    // there too: drawing the half-resolution image scaled up, smoothly, on
    // every repaint cost more than the rest of the repaint.
    QImage cached_;
    QString cachedKey_;
};

} // namespace harborlite
