#include "ui/cleaning/ReviewState.h"

namespace harborlite {

ReviewState ReviewState::of(const AppModel& model)
{
    ReviewState state;
    state.results = model.results();
    state.progress = model.progress();
    state.running = model.runningCategories();
    state.isCleaning = model.isCleaning();
    state.mode = model.cleanupMode();
    state.diskFree = model.snapshot().diskFree;
    return state;
}

const CategoryResult* ReviewState::result(ScanCategory category) const
{
    const auto found = results.find(category);
    return found == results.end() ? nullptr : &found->second;
}

} // namespace harborlite
