#include "widgets/host/TimelineScheduler.h"

#include "platform/Clock.h"
#include "widgets/host/CompletionRelay.h"
#include "widgets/host/TimelinePlan.h"

#include <QTimer>

#include <algorithm>
#include <atomic>

namespace harborlite {

namespace {

std::chrono::milliseconds until(const QDateTime& date)
{
    return std::chrono::milliseconds(std::max<qint64>(0, platform::now().msecsTo(date)));
}

} // namespace

TimelineScheduler::Setup TimelineScheduler::eventLoopSetup()
{
    Setup setup;
    setup.arm = [](QObject* context, std::chrono::milliseconds delay, std::function<void()> fire) {
        // Five-minute waits need no precision; coarse timers wake the host less.
        QTimer::singleShot(delay, Qt::VeryCoarseTimer, context, std::move(fire));
    };
    return setup;
}

TimelineScheduler::TimelineScheduler(Setup setup, QObject* parent)
    : QObject(parent)
    , setup_(std::move(setup))
    , relay_(std::make_shared<CompletionRelay>(this))
{
}

TimelineScheduler::~TimelineScheduler()
{
    relay_->close();
}

void TimelineScheduler::track(const QUuid& id, const Widget& widget, WidgetFamily family, Show show)
{
    Track& track = tracks_[id];
    track.widget = &widget;
    track.family = family;
    track.show = std::move(show);
    track.timers = std::make_unique<QObject>();
    const TimelineProviderContext context{family, false, displaySize(family)};
    track.show(widget.placeholder(context));
    request(id);
}

void TimelineScheduler::untrack(const QUuid& id)
{
    tracks_.erase(id);
}

bool TimelineScheduler::isTracking(const QUuid& id) const
{
    return tracks_.count(id) != 0;
}

std::optional<QDateTime> TimelineScheduler::reloadDate(const QUuid& id) const
{
    const auto found = tracks_.find(id);
    return found != tracks_.end() ? found->second.reloadAt : std::nullopt;
}

int TimelineScheduler::outstanding() const
{
    return relay_->outstanding();
}

bool TimelineScheduler::waitForOutstanding(std::chrono::milliseconds timeout) const
{
    return relay_->waitForOutstanding(timeout);
}

QObject* TimelineScheduler::freshTimers(Track& track)
{
    track.timers = std::make_unique<QObject>();
    return track.timers.get();
}

void TimelineScheduler::request(const QUuid& id)
{
    Track& track = tracks_.at(id);
    const quint64 generation = ++track.generation;
    track.reloadAt.reset();
    setup_.arm(freshTimers(track), kRequestTimeout, [this, id, generation] { timedOut(id, generation); });

    const TimelineProviderContext context{track.family, false, displaySize(track.family)};
    relay_->begin();
    auto answered = std::make_shared<std::atomic_bool>(false);
    track.widget->getTimeline(context, [relay = relay_, answered, this, id, generation](WidgetTimeline timeline) {
        // A completion called twice counts once.
        if (answered->exchange(true)) {
            return;
        }
        relay->finish([this, id, generation, timeline = std::move(timeline)]() mutable {
            apply(id, generation, std::move(timeline));
        });
    });
}

void TimelineScheduler::apply(const QUuid& id, quint64 generation, WidgetTimeline timeline)
{
    const auto found = tracks_.find(id);
    if (found == tracks_.end() || found->second.generation != generation) {
        return;
    }
    Track& track = found->second;
    std::vector<QDateTime> dates;
    dates.reserve(timeline.entries.size());
    for (const WidgetEntry& entry : timeline.entries) {
        dates.push_back(entry.date);
    }
    const TimelinePlan plan = TimelinePlan::of(dates, timeline.policy, platform::now());
    QObject* timers = freshTimers(track);
    if (plan.current) {
        track.show(timeline.entries[*plan.current]);
    }
    for (const auto& [index, date] : plan.upcoming) {
        setup_.arm(timers, until(date), [this, id, entry = timeline.entries[index]] {
            const auto still = tracks_.find(id);
            if (still != tracks_.end()) {
                still->second.show(entry);
            }
        });
    }
    if (plan.reload) {
        armReload(id, track, *plan.reload);
    }
}

void TimelineScheduler::timedOut(const QUuid& id, quint64 generation)
{
    const auto found = tracks_.find(id);
    if (found == tracks_.end() || found->second.generation != generation) {
        return;
    }
    // The request stays valid: an answer that still comes is shown, and the
    // retry replaces it only once it is due.
    armReload(id, found->second, platform::now().addSecs(TimelinePlan::kRetryInterval.count()));
}

void TimelineScheduler::armReload(const QUuid& id, Track& track, const QDateTime& at)
{
    track.reloadAt = at;
    setup_.arm(track.timers.get(), until(at), [this, id] {
        if (tracks_.count(id) != 0) {
            request(id);
        }
    });
}

} // namespace harborlite
