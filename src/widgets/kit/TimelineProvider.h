#pragma once

#include "widgets/kit/Timeline.h"
#include "widgets/kit/TimelineProviderContext.h"

#include <functional>

namespace harborlite {

// The source of a widget's entries. The host may call each operation from any
// thread; completions may be called on any thread, once each.
template <typename Entry>
class TimelineProvider {
public:
    using EntryType = Entry;

    virtual ~TimelineProvider() = default;

    // An entry to draw at once, before anything has been measured; never blocks.
    virtual Entry placeholder(const TimelineProviderContext& context) const = 0;
    // One entry standing for now.
    virtual void getSnapshot(const TimelineProviderContext& context, std::function<void(Entry)> completion) const = 0;
    // The entries to show from now on and when to ask again.
    virtual void getTimeline(const TimelineProviderContext& context,
                             std::function<void(Timeline<Entry>)> completion) const = 0;
};

} // namespace harborlite
