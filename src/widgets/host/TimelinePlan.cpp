#include "widgets/host/TimelinePlan.h"

namespace harborlite {

TimelinePlan TimelinePlan::of(const std::vector<QDateTime>& dates, const ReloadPolicy& policy, const QDateTime& now)
{
    TimelinePlan plan;
    for (std::size_t i = 0; i < dates.size(); ++i) {
        if (dates[i] <= now) {
            plan.current = i;
        }
    }
    for (std::size_t i = plan.current ? *plan.current + 1 : 0; i < dates.size(); ++i) {
        if (dates[i] > now) {
            plan.upcoming.emplace_back(i, dates[i]);
        }
    }
    const QDateTime soonest = now.addSecs(kShortestReload.count());
    const auto notBefore = [&](const QDateTime& date) { return date.isValid() && date > soonest ? date : soonest; };
    switch (policy.kind) {
    case ReloadPolicy::Kind::after:
        plan.reload = notBefore(policy.date);
        break;
    case ReloadPolicy::Kind::atEnd: {
        QDateTime last;
        for (const QDateTime& date : dates) {
            if (!last.isValid() || date > last) {
                last = date;
            }
        }
        plan.reload = last.isValid() ? notBefore(last) : now.addSecs(kRetryInterval.count());
        break;
    }
    case ReloadPolicy::Kind::never:
        break;
    }
    return plan;
}

} // namespace harborlite
