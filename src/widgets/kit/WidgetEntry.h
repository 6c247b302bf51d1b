#pragma once

#include "widgets/kit/Timeline.h"

#include <QDateTime>

#include <memory>

namespace harborlite {

// A timeline entry as the host holds it: its date, and the provider's own entry
// that only the widget that made it reads back.
struct WidgetEntry {
    QDateTime date;
    std::shared_ptr<const void> value;
};

using WidgetTimeline = Timeline<WidgetEntry>;

} // namespace harborlite
