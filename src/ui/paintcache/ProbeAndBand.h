#pragma once

#include "ui/paintcache/PictureKey.h"

#include <QRectF>

#include <functional>

class QPainter;

namespace harborlite::ProbeAndBand {

// A tall picture is kept short: drawn once over a short rectangle (its
// probe) whose rows between a top and a bottom part are all alike, it is laid
// down as the probe's top over the picture's top, the probe's bottom over its
// bottom, and one of the alike rows repeated between them. A surface between
// its corners and a shadow along its sides are drawn that way.
// Rows of the repeated row tiled at once: fewer copies than one row would take.
inline constexpr int kBandRows = 32;

struct Probe {
    // The probe's look, its size in device pixels and their ratio.
    PictureKey key;
    // Device rows of the probe laid over the picture's top and over its
    // bottom; the row below the top ones is the one repeated.
    int topRows = 0;
    int bottomRows = 0;
};

// Draws the picture over `rect` from the probe, which `paint` draws in
// logical pixels when it is not kept. Where the painter draws plainly at the
// probe's ratio and `rect` lies on whole device pixels, the probe's pixels
// are copied one to one and the repeated row is tiled; elsewhere the parts
// are scaled onto `rect` and the row stretched down its middle.
void draw(QPainter& painter, const QRectF& rect, const Probe& probe, const std::function<void(QPainter&)>& paint);

} // namespace harborlite::ProbeAndBand
