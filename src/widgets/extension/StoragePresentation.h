#pragma once

#include "shared/SystemSnapshot.h"
#include "widgets/extension/WidgetFigures.h"
#include "widgets/kit/WidgetFamily.h"

#include <QString>

namespace harborlite {

// Everything the storage widget shows of one sample.
struct StoragePresentation {
    // The free amount split into its number and its decimal unit.
    QString number;
    QString unit;
    // 30 and 14 in the small family, 40 and 18 in every other.
    qreal numberPixels = 0;
    qreal unitPixels = 0;
    // "free of " and the total's byte text.
    QString total;
    BarFigure bar;

    static StoragePresentation of(WidgetFamily family, const SystemSnapshot& snapshot);
};

} // namespace harborlite
