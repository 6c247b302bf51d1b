#pragma once

#include "model/GuiThread.h"
#include "shared/ThreadHandOff.h"

#include <QPointer>
#include <QThreadPool>

#include <functional>
#include <type_traits>
#include <utility>

namespace harborlite {

// How soon queued work runs when every worker is busy: user-initiated work
// (removal, maintenance, switching launch items) goes before utility work
// (scans, listings, probes).
enum class TaskPriority {
    utility,
    userInitiated,
};

// Runs slow work off the GUI thread: one pool of workers for scans and
// services, and one dedicated thread for the metrics sampler so that long scans
// never starve the live readings. Results come back to the GUI thread by a
// queued call and are dropped when their receiver is gone by then.
//
// Work must not throw and must not touch GUI-thread objects; it captures what
// it needs by value. Receivers live on the GUI thread, and run() is called
// there.
class BackgroundRunner {
public:
    explicit BackgroundRunner(int workerThreads = QThread::idealThreadCount());
    // Drops work that has not started and waits for the work that has.
    ~BackgroundRunner();

    BackgroundRunner(const BackgroundRunner&) = delete;
    BackgroundRunner& operator=(const BackgroundRunner&) = delete;

    // Runs `work` on a worker; nothing is handed back (the work reports
    // through a ProgressChannel or not at all).
    void start(TaskPriority priority, std::function<void()> work);

    // Runs `work` on a worker, then `apply` with its result (or with nothing
    // when `work` returns void) on the GUI thread while `receiver` exists.
    template <typename Work, typename Apply>
    void run(TaskPriority priority, QObject* receiver, Work work, Apply apply)
    {
        ThreadHandOff::start(workers_, deliveringJob(receiver, std::move(work), std::move(apply)),
                             poolPriority(priority));
    }

    // As run(), on the sampler's own thread; samples run one at a time.
    template <typename Work, typename Apply>
    void runSampling(QObject* receiver, Work work, Apply apply)
    {
        ThreadHandOff::start(sampler_, deliveringJob(receiver, std::move(work), std::move(apply)));
    }

    // Blocks until no work is queued or running on either thread pool.
    void waitForDone();

private:
    static int poolPriority(TaskPriority priority);

    template <typename Work, typename Apply>
    static auto deliveringJob(QObject* receiver, Work work, Apply apply)
    {
        Q_ASSERT(GuiThread::isCurrent());
        Q_ASSERT(receiver != nullptr && receiver->thread() == QThread::currentThread());
        // The guard is made here, on the GUI thread, and only read there.
        return [guard = QPointer<QObject>(receiver), work = std::move(work), apply = std::move(apply)]() mutable {
            if constexpr (std::is_void_v<std::invoke_result_t<Work&>>) {
                work();
                GuiThread::post([guard = std::move(guard), apply = std::move(apply)]() mutable {
                    if (guard) {
                        apply();
                    }
                });
            } else {
                auto result = work();
                GuiThread::post(
                    [guard = std::move(guard), apply = std::move(apply), result = std::move(result)]() mutable {
                        if (guard) {
                            apply(std::move(result));
                        }
                    });
            }
        };
    }

    QThreadPool workers_;
    QThreadPool sampler_;
};

} // namespace harborlite
