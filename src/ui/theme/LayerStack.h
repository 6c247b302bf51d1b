#pragma once

#include <QRect>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace harborlite {

// Translucent surfaces laid one over another, as a list's cards lie on their
// shadows and inner cards on the cards. Every layer blends over every pixel
// it covers, so a tall stack costs a full repaint one pass per layer. Where
// each layer draws the same pixels on every row (between a card's corners),
// the stack is laid down once: its row is drawn aside and that one row
// blended over all of them. Elsewhere the layers are drawn one by one, as
// they would be without the stack.
//
// The flattened rows differ from layers laid one by one only by the rounding
// of 8-bit blending.
class LayerStack {
public:
    using Paint = std::function<void(QPainter& painter)>;

    // A layer drawn by `paint` within the rows `top` to `bottom`, the same on
    // every row from `steadyTop` to `steadyBottom` (none when steadyTop >
    // steadyBottom). `look` names what one of its steady rows looks like (its
    // columns and colours); where every layer has one, the flattened row is
    // kept by their looks instead of drawn aside on every paint.
    void add(int top, int bottom, int steadyTop, int steadyBottom, Paint paint, const QString& look = {});

    // A rounded rectangle on whole pixels: alike on every row between its corners.
    void addRoundedRect(const QRect& rect, qreal cornerRadius, Paint paint, const QString& look = {});

    // Draws the layers in the order they were added, over `area` only.
    void paint(QPainter& painter, const QRect& area) const;

private:
    struct Layer {
        int top;
        int bottom;
        int steadyTop;
        int steadyBottom;
        Paint paint;
        QString look;

        // Whether the layer draws on any row from `from` to `to`.
        bool meets(int from, int to) const { return top <= to && bottom >= from; }
    };

    void paintOneByOne(QPainter& painter, const QRect& rows) const;
    void paintFlattened(QPainter& painter, const QRect& rows) const;

    std::vector<Layer> layers_;
};

} // namespace harborlite
