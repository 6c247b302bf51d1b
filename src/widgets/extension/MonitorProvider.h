#pragma once

#include "widgets/extension/MonitorEntry.h"
#include "widgets/kit/TimelineProvider.h"

#include <chrono>
#include <functional>

class QThreadPool;

namespace harborlite {

// The provider of both widgets. It measures the machine itself, afresh for
// every request, and keeps nothing between requests: each live request makes
// its own sampler on a worker, takes a baseline, waits, takes the sample the
// entry carries and drops the sampler. Every timeline holds that one entry and
// asks to be reloaded five minutes after the measurement.
class MonitorProvider final : public TimelineProvider<MonitorEntry> {
public:
    using Sampler = std::function<SystemSnapshot()>;

    static constexpr std::chrono::milliseconds kSamplePause{400};
    static constexpr qint64 kReloadSeconds = 300;

    // How a request measures.
    struct Sampling {
        // A new sampler for each request (a new SystemMetrics).
        std::function<Sampler()> makeSampler;
        // Blocks the worker between the baseline and the sample (kSamplePause).
        std::function<void()> pause;
        // The pool the requests run on; the application's global pool when null.
        QThreadPool* queue = nullptr;
    };

    // The machine's own sampler, pause and pool.
    static Sampling machineSampling();

    MonitorProvider();
    explicit MonitorProvider(Sampling sampling);

    // The fixed sample drawn before anything is measured and in the gallery.
    static SystemSnapshot placeholderSnapshot();

    // Dated now with the placeholder sample; never measures.
    MonitorEntry placeholder(const TimelineProviderContext& context) const override;
    // In a preview: the placeholder, at once on the calling thread. Otherwise
    // a live sample, delivered on the worker, dated when it was taken.
    void getSnapshot(const TimelineProviderContext& context,
                     std::function<void(MonitorEntry)> completion) const override;
    // A live sample as the one entry, and a reload 300 seconds after it,
    // delivered on the worker.
    void getTimeline(const TimelineProviderContext& context,
                     std::function<void(Timeline<MonitorEntry>)> completion) const override;

private:
    // Returns at once; the completion gets the sample on the worker.
    void sample(std::function<void(SystemSnapshot)> completion) const;

    Sampling sampling_;
};

} // namespace harborlite
