#pragma once

#include "widgets/kit/TimelineProviderContext.h"
#include "widgets/kit/WidgetEntry.h"
#include "widgets/kit/WidgetFamily.h"
#include "widgets/kit/WidgetView.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace harborlite {

// One kind of widget a bundle offers, as the host drives it: its names, the
// families it comes in, its provider's three requests and the view that draws
// its entries. The provider's rules hold for the requests (any thread; each
// completion called once, on any thread).
class Widget {
public:
    virtual ~Widget() = default;

    // The identifier placements store.
    virtual QString kind() const = 0;
    virtual QString displayName() const = 0;
    virtual QString description() const = 0;
    // In the order the widget declares them.
    virtual std::vector<WidgetFamily> supportedFamilies() const = 0;

    virtual WidgetEntry placeholder(const TimelineProviderContext& context) const = 0;
    virtual void getSnapshot(const TimelineProviderContext& context,
                             std::function<void(WidgetEntry)> completion) const = 0;
    virtual void getTimeline(const TimelineProviderContext& context,
                             std::function<void(WidgetTimeline)> completion) const = 0;

    // A new, hidden view for `family`, owned by the caller.
    virtual std::unique_ptr<WidgetView> makeView(WidgetFamily family) const = 0;
};

} // namespace harborlite
