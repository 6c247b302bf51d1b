#pragma once

#include <QRunnable>
#include <QThreadPool>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>

// Debian's Qt is not built with the thread sanitizer. The locks inside its
// thread pools and event queues (futexes) are invisible to it, so whatever we
// hand over through them reads as a race; and of Qt's own bookkeeping it sees
// only the calls of malloc, memmove and the like, never the locks around them.
// These marks tell the sanitizer about our hand-offs and keep it out of Qt's
// bookkeeping; without the sanitizer they compile to nothing.
#if defined(__SANITIZE_THREAD__)
extern "C" {
void __tsan_acquire(void* address);
void __tsan_release(void* address);
void __tsan_ignore_thread_begin();
void __tsan_ignore_thread_end();
}
#endif

namespace harborlite::ThreadHandOff {

// Everything this thread wrote so far is seen by a thread that later calls
// received() with the same address.
inline void sent([[maybe_unused]] const void* address)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_release(const_cast<void*>(address));
#endif
}

inline void received([[maybe_unused]] const void* address)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(const_cast<void*>(address));
#endif
}

// For its lifetime, the memory accesses of this thread go unchecked: it is
// inside Qt's own bookkeeping. Hand-off marks still count.
class InsideQt {
public:
    InsideQt()
    {
#if defined(__SANITIZE_THREAD__)
        __tsan_ignore_thread_begin();
#endif
    }
    ~InsideQt()
    {
#if defined(__SANITIZE_THREAD__)
        __tsan_ignore_thread_end();
#endif
    }
    InsideQt(const InsideQt&) = delete;
    InsideQt& operator=(const InsideQt&) = delete;
};

// A call handed to another thread through Qt's event queue. Every
// construction and move marks the call as sent at its new place, after its own
// members are written, so the last one (into Qt's slot object) covers
// everything the receiving thread reads. Calling or destroying it marks it
// received.
template <typename Call>
class Carried {
public:
    explicit Carried(Call call)
        : call_(std::move(call))
    {
        sent(this);
    }
    Carried(Carried&& other) noexcept(std::is_nothrow_move_constructible_v<Call>)
        : call_(std::move(other.call_))
    {
        sent(this);
    }
    Carried(const Carried&) = delete;
    Carried& operator=(const Carried&) = delete;
    Carried& operator=(Carried&&) = delete;
    ~Carried() { received(this); }

    // Marks the call sent again when it returns: Qt may free its slot object
    // on the sending thread, after the receiving one has run the call.
    decltype(auto) operator()()
    {
        received(this);
        const SentOnReturn mark{this};
        return call_();
    }

private:
    struct SentOnReturn {
        const void* address;
        ~SentOnReturn() { sent(address); }
    };

    Call call_;
};

template <typename Call>
Carried<std::decay_t<Call>> carry(Call&& call)
{
    return Carried<std::decay_t<Call>>(std::forward<Call>(call));
}

// A pool thread is inside Qt's bookkeeping from the end of one of our jobs to
// the start of the next, and on until it ends.
class PoolThread {
public:
    static void jobStarts()
    {
#if defined(__SANITIZE_THREAD__)
        current().insideQt_.reset();
#endif
    }

    static void jobEnded()
    {
#if defined(__SANITIZE_THREAD__)
        current().insideQt_.emplace();
#endif
    }

#if defined(__SANITIZE_THREAD__)
private:
    PoolThread() = default;
    // Destroyed as the thread ends, before the sanitizer checks that it
    // leaves nothing unchecked.
    ~PoolThread() = default;

    static PoolThread& current()
    {
        thread_local PoolThread state;
        return state;
    }

    std::optional<InsideQt> insideQt_;
#endif
};

// A pool job in a runnable of ours, complete before the pool sees it (Qt's own
// wrapper of a std::function is made inside start(), past any mark). The job
// is destroyed as soon as it has run, still checked; then the pool is marked
// for waitForDone().
template <typename Job>
class CarriedRunnable final : public QRunnable {
public:
    CarriedRunnable(const QThreadPool& pool, Job job)
        : pool_(pool)
        , job_(std::move(job))
    {
        sent(this);
    }

    void run() override
    {
        PoolThread::jobStarts();
        received(this);
        (*job_)();
        job_.reset();
        sent(&pool_);
        PoolThread::jobEnded();
    }

private:
    const QThreadPool& pool_;
    std::optional<Job> job_;
};

// Runs `job` on one of the pool's threads; the pool deletes it after.
template <typename Job>
void start(QThreadPool& pool, Job job, int priority = 0)
{
    pool.start(new CarriedRunnable<Job>(pool, std::move(job)), priority);
}

// As start() when one of the pool's threads is free at once; otherwise runs
// nothing and answers false.
template <typename Job>
bool tryStart(QThreadPool& pool, Job job)
{
    auto runnable = std::make_unique<CarriedRunnable<Job>>(pool, std::move(job));
    if (!pool.tryStart(runnable.get())) {
        return false;
    }
    runnable.release();
    return true;
}

// Blocks until every job of the pool has ended; what they wrote is seen here.
inline void waitForDone(QThreadPool& pool)
{
    pool.waitForDone();
    received(&pool);
}

// Qt runs some of its own work on its global pool (it scales and converts
// large images there, split across threads). A thread the pool starts for such
// work has never run a job of ours, so its share of Qt's bookkeeping would be
// checked. This runs one job of ours on every thread the pool may have, all at
// once, and keeps the threads from expiring, so that the pool starts no thread
// later: each is then inside Qt's bookkeeping outside our jobs, as PoolThread
// has it. It returns once every thread has started its job; waitForDone()
// would end the threads. Without the sanitizer it does nothing.
inline void enterEveryThread([[maybe_unused]] QThreadPool& pool)
{
#if defined(__SANITIZE_THREAD__)
    struct Gathering {
        std::mutex mutex;
        std::condition_variable changed;
        int started = 0;
    };
    pool.setExpiryTimeout(-1);
    const int threads = pool.maxThreadCount();
    const auto gathering = std::make_shared<Gathering>();
    for (int i = 0; i < threads; ++i) {
        // Each job holds its thread until all have started, so no thread runs two.
        start(pool, [gathering, threads] {
            std::unique_lock lock(gathering->mutex);
            ++gathering->started;
            gathering->changed.notify_all();
            gathering->changed.wait(lock, [&] { return gathering->started == threads; });
        });
    }
    std::unique_lock lock(gathering->mutex);
    gathering->changed.wait(lock, [&] { return gathering->started == threads; });
#endif
}

} // namespace harborlite::ThreadHandOff
