#pragma once

#include <QRect>

#include <algorithm>

namespace harborlite::RowBands {

// The raster engine hands a fill or copy of many rows to its thread pool in
// pieces and waits for them; for a plain copy of pixels the wake-ups cost
// more than the work they share. Bands of at most this many rows stay on
// the calling thread.
inline constexpr int kRows = 64;

// Calls draw(band) for the rows of `rect`, top to bottom, kRows at a time.
template <typename Draw>
void forEach(const QRect& rect, Draw draw)
{
    for (int top = rect.top(); top <= rect.bottom(); top += kRows) {
        draw(QRect(rect.left(), top, rect.width(), std::min(kRows, rect.bottom() + 1 - top)));
    }
}

} // namespace harborlite::RowBands
