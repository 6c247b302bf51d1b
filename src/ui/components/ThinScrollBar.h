#pragma once

#include <QScrollBar>

namespace harborlite {

// A scroll bar drawn as the platform's overlay scrollers are: no track and no
// arrows, only a thin capsule for the knob in tertiary ink, thicker and
// stronger while the pointer is over the bar. Dragging, paging clicks and the
// wheel work as in any scroll bar.
class ThinScrollBar : public QScrollBar {
    Q_OBJECT

public:
    static constexpr int kThickness = 11;
    static constexpr qreal kKnobThickness = 5;
    static constexpr qreal kHoveredKnobThickness = 7;
    static constexpr qreal kOpacity = 0.5;
    static constexpr qreal kHoveredOpacity = 0.8;

    explicit ThinScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    // The knob's capsule as it is drawn now, in the bar's coordinates.
    QRectF knob() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace harborlite
