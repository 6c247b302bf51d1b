#include "ui/cleaning/ReviewState.h"

#include "model/MonitorFeed.h"

namespace harborlite {

ReviewState ReviewState::of(const ScanSession& scans, const MonitorFeed& feed)
{
    ReviewState state;
    state.results = scans.results();
    state.progress = scans.progress();
    state.running = scans.runningCategories();
    state.isCleaning = scans.isCleaning();
    state.mode = scans.cleanupMode();
    state.diskFree = feed.snapshot().diskFree;
    return state;
}

const CategoryResult* ReviewState::result(ScanCategory category) const
{
    const auto found = results.find(category);
    return found == results.end() ? nullptr : &found->second;
}

} // namespace harborlite
