#include "widgets/extension/MonitorProvider.h"

#include "platform/Clock.h"
#include "shared/SystemMetrics.h"
#include "shared/ThreadHandOff.h"

#include <QThreadPool>

#include <memory>
#include <thread>
#include <utility>

namespace harborlite {

MonitorProvider::Sampling MonitorProvider::machineSampling()
{
    Sampling sampling;
    sampling.makeSampler = [] {
        auto metrics = std::make_shared<SystemMetrics>();
        return Sampler([metrics] { return metrics->snapshot(); });
    };
    sampling.pause = [] { std::this_thread::sleep_for(kSamplePause); };
    return sampling;
}

MonitorProvider::MonitorProvider()
    : MonitorProvider(machineSampling())
{
}

MonitorProvider::MonitorProvider(Sampling sampling)
    : sampling_(std::move(sampling))
{
}

SystemSnapshot MonitorProvider::placeholderSnapshot()
{
    SystemSnapshot snapshot;
    snapshot.cpuUsage = 0.22;
    snapshot.cpuUser = 0.14;
    snapshot.cpuSystem = 0.08;
    snapshot.memoryUsed = 12'600'000'000;
    snapshot.memoryTotal = 17'180'000'000;
    snapshot.memoryPressure = 0.73;
    snapshot.swapUsed = 1'380'000'000;
    snapshot.diskFree = 161'000'000'000;
    snapshot.diskTotal = 494'000'000'000;
    snapshot.networkIn = 1'200'000;
    snapshot.networkOut = 88'000;
    snapshot.batteryLevel = 0.61;
    snapshot.batteryIsCharging = false;
    snapshot.batteryCycleCount = 155;
    snapshot.uptime = 0;
    return snapshot;
}

MonitorEntry MonitorProvider::placeholder(const TimelineProviderContext&) const
{
    return {platform::now(), placeholderSnapshot()};
}

void MonitorProvider::getSnapshot(const TimelineProviderContext& context,
                                  std::function<void(MonitorEntry)> completion) const
{
    if (context.isPreview) {
        completion({platform::now(), placeholderSnapshot()});
        return;
    }
    sample([completion = std::move(completion)](SystemSnapshot snapshot) {
        completion({platform::now(), std::move(snapshot)});
    });
}

void MonitorProvider::getTimeline(const TimelineProviderContext&,
                                  std::function<void(Timeline<MonitorEntry>)> completion) const
{
    sample([completion = std::move(completion)](SystemSnapshot snapshot) {
        // Both dates are read after the measurement, so the reload comes five
        // minutes after the sample, however long the request waited.
        Timeline<MonitorEntry> timeline;
        timeline.entries.push_back({platform::now(), std::move(snapshot)});
        timeline.policy = ReloadPolicy::after(platform::now().addSecs(kReloadSeconds));
        completion(std::move(timeline));
    });
}

void MonitorProvider::sample(std::function<void(SystemSnapshot)> completion) const
{
    QThreadPool* queue = sampling_.queue != nullptr ? sampling_.queue : QThreadPool::globalInstance();
    ThreadHandOff::start(
        *queue, [makeSampler = sampling_.makeSampler, pause = sampling_.pause, completion = std::move(completion)] {
            Sampler sampler = makeSampler();
            // A new sampler has no baseline: its first reading only records the
            // counters the second one is measured against.
            sampler();
            pause();
            completion(sampler());
        });
}

} // namespace harborlite
