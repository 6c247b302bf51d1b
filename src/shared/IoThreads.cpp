#include "shared/IoThreads.h"

#include "shared/ThreadHandOff.h"

#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace harborlite::IoThreads {

namespace {

QThreadPool& pool()
{
    static QThreadPool threads;
    static const bool configured = [] {
        threads.setMaxThreadCount(budget());
        threads.setObjectName(QStringLiteral("harborlite I/O"));
        return true;
    }();
    Q_UNUSED(configured);
    return threads;
}

} // namespace

int budget()
{
    return std::clamp(QThread::idealThreadCount(), 1, 8);
}

bool tryStart(std::function<void()> work)
{
    return ThreadHandOff::tryStart(pool(), std::move(work));
}

void forEach(std::size_t count, const std::function<void(std::size_t)>& work, int mostThreads)
{
    struct Shared {
        std::atomic<std::size_t> next{0};
        std::mutex mutex;
        std::condition_variable done;
        int helping = 0;
    };
    const auto shared = std::make_shared<Shared>();
    const auto drain = [&work, count, raw = shared.get()] {
        for (std::size_t i = raw->next++; i < count; i = raw->next++) {
            work(i);
        }
    };
    for (std::size_t helpers = 1; helpers < count && int(helpers) <= budget() && int(helpers) < mostThreads;
         ++helpers) {
        {
            const std::lock_guard lock(shared->mutex);
            ++shared->helping;
        }
        const bool started = tryStart([shared, drain] {
            drain();
            const std::lock_guard lock(shared->mutex);
            if (--shared->helping == 0) {
                shared->done.notify_all();
            }
        });
        if (!started) {
            const std::lock_guard lock(shared->mutex);
            --shared->helping;
            break;
        }
    }
    drain();
    std::unique_lock lock(shared->mutex);
    shared->done.wait(lock, [&] { return shared->helping == 0; });
}

} // namespace harborlite::IoThreads
