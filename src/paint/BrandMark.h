#pragma once

#include "paint/Palette.h"

#include <QWidget>

class QPainter;

namespace harborlite {

// Where the logo's parts lie in a frame: the largest centred square, the
// ring's centre line and the dot in the gap.
struct BrandMarkGeometry {
    QRectF square;
    qreal lineWidth = 0;
    qreal radius = 0;
    QPointF center;
    QPointF dotCenter;
};

// The logo: an open ring drawn as one round-capped stroke, starting at
// 3 o'clock and running clockwise over `sweep` of the circle, with a dot of the
// line's width in the middle of the gap. Plain view: no state, no colour of
// its own.
class BrandMark : public QWidget {
    Q_OBJECT

public:
    // Every mark of the system covers 300° and leaves a 60° gap.
    static constexpr qreal kSweep = 5.0 / 6.0;

    BrandMark(qreal thickness, const AdaptiveColor& tint, QWidget* parent = nullptr);

    qreal thickness() const { return thickness_; }
    const AdaptiveColor& tint() const { return tint_; }
    qreal sweep() const { return kSweep; }

    static BrandMarkGeometry geometry(const QRectF& frame, qreal thickness);
    static void paint(QPainter& painter, const QRectF& frame, qreal thickness, const QColor& tint,
                      qreal sweep = kSweep);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal thickness_;
    AdaptiveColor tint_;
};

} // namespace harborlite
