#pragma once

#include <QSize>

#include <functional>

class QPainter;

// How the kit's controls look disabled: the whole control at the buttons'
// disabled opacity, dimmed as one layer so its own layers do not show through
// each other.
namespace harborlite::DisabledLayer {

// Draws what `draw` draws of a control `size` wide and high, dimmed, onto
// `painter`, whose state it leaves as it was; the layer is made at `ratio`.
void paint(QPainter& painter, QSize size, qreal ratio, const std::function<void(QPainter&)>& draw);

} // namespace harborlite::DisabledLayer
