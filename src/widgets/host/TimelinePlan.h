#pragma once

#include "widgets/kit/ReloadPolicy.h"

#include <QDateTime>

#include <chrono>
#include <optional>
#include <utility>
#include <vector>

namespace harborlite {

// What the host does with a timeline that has just arrived: which entry to
// show now, which to show later and when, and when to ask again.
struct TimelinePlan {
    // A reload is never sooner than this after a timeline arrives, so a
    // provider that names a past date cannot keep the host asking.
    static constexpr std::chrono::seconds kShortestReload{60};
    // When a timeline gives nothing to wait for (no entries and no date).
    static constexpr std::chrono::seconds kRetryInterval{300};

    // The latest entry dated now or before; none when every entry lies ahead.
    std::optional<std::size_t> current;
    // Later entries with their dates, in order.
    std::vector<std::pair<std::size_t, QDateTime>> upcoming;
    // None for a timeline that never reloads.
    std::optional<QDateTime> reload;

    // `dates` are the entries' dates in the timeline's order.
    static TimelinePlan of(const std::vector<QDateTime>& dates, const ReloadPolicy& policy, const QDateTime& now);
};

} // namespace harborlite
