#pragma once

#include <QEvent>

#include <optional>

namespace harborlite::Motion {

// The desktop's wish for less motion: HARBORLITE_REDUCE_MOTION=1 in the
// environment (Qt 6.4 reads no such setting from the desktop).
bool systemReducesMotion();

// Whether animations that only decorate (the backdrop's drift, the spinning
// ring) stand still: the application's choice if it made one, else the
// desktop's.
bool reduceMotion();

// Overrides the desktop's setting (none follows it again) and tells every
// widget with an event of changedEventType().
void setReduceMotion(std::optional<bool> reduce);

// The event every widget receives when reduceMotion() may have changed.
QEvent::Type changedEventType();

// The platform's ease-in-out curve, cubic Bézier (0.42, 0, 0.58, 1), at t in 0…1.
qreal easeInOut(qreal t);
// The platform's ease-out curve, cubic Bézier (0, 0, 0.58, 1), at t in 0…1.
qreal easeOut(qreal t);

// A repeating animation that reverses each time: the eased fraction after
// `elapsed` seconds of legs lasting `legSeconds` each way.
qreal autoreversing(qreal elapsed, qreal legSeconds);

} // namespace harborlite::Motion
