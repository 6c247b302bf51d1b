#pragma once

#include "widgets/kit/WidgetFamily.h"

#include <QSize>

namespace harborlite {

// What the host tells a provider about the widget it asks for.
struct TimelineProviderContext {
    WidgetFamily family = WidgetFamily::systemSmall;
    // True in the widget gallery, where a quick sample stands in for a
    // measurement.
    bool isPreview = false;
    QSize displaySize;
};

} // namespace harborlite
