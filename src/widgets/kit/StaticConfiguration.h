#pragma once

#include "widgets/kit/Widget.h"

#include <utility>

namespace harborlite {

// A widget without user settings: its kind, its provider and the view that
// draws the provider's entries in each family.
template <typename Provider>
class StaticConfiguration final : public Widget {
public:
    using Entry = typename Provider::EntryType;
    using Content = std::function<std::unique_ptr<EntryView<Entry>>(WidgetFamily)>;

    struct Description {
        QString kind;
        QString displayName;
        QString description;
        std::vector<WidgetFamily> supportedFamilies;
    };

    StaticConfiguration(Description description, Provider provider, Content content)
        : description_(std::move(description))
        , provider_(std::move(provider))
        , content_(std::move(content))
    {
    }

    QString kind() const override { return description_.kind; }
    QString displayName() const override { return description_.displayName; }
    QString description() const override { return description_.description; }
    std::vector<WidgetFamily> supportedFamilies() const override { return description_.supportedFamilies; }

    WidgetEntry placeholder(const TimelineProviderContext& context) const override
    {
        return erase(provider_.placeholder(context));
    }

    void getSnapshot(const TimelineProviderContext& context, std::function<void(WidgetEntry)> completion) const override
    {
        provider_.getSnapshot(
            context, [completion = std::move(completion)](Entry entry) { completion(erase(std::move(entry))); });
    }

    void getTimeline(const TimelineProviderContext& context,
                     std::function<void(WidgetTimeline)> completion) const override
    {
        provider_.getTimeline(context, [completion = std::move(completion)](Timeline<Entry> timeline) {
            WidgetTimeline erased;
            erased.policy = timeline.policy;
            for (Entry& entry : timeline.entries) {
                erased.entries.push_back(erase(std::move(entry)));
            }
            completion(std::move(erased));
        });
    }

    std::unique_ptr<WidgetView> makeView(WidgetFamily family) const override { return content_(family); }

private:
    static WidgetEntry erase(Entry entry)
    {
        const QDateTime date = entry.date;
        return {date, std::make_shared<const Entry>(std::move(entry))};
    }

    Description description_;
    Provider provider_;
    Content content_;
};

} // namespace harborlite
