#include "model/BackgroundRunner.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <future>
#include <latch>
#include <memory>
#include <mutex>
#include <vector>

using namespace harborlite;

namespace {

void deliverQueuedCalls()
{
    QCoreApplication::sendPostedEvents();
}

} // namespace

TEST(BackgroundRunner, AppliesTheResultOnTheGuiThread)
{
    BackgroundRunner runner;
    QObject receiver;
    QThread* workThread = nullptr;
    QThread* applyThread = nullptr;
    int applied = -1;
    bool voidApplied = false;

    runner.run(
        TaskPriority::utility, &receiver,
        [&workThread] {
            workThread = QThread::currentThread();
            return 42;
        },
        [&](int result) {
            applyThread = QThread::currentThread();
            applied = result;
        });
    runner.run(TaskPriority::userInitiated, &receiver, [] {}, [&] { voidApplied = true; });
    runner.waitForDone();
    EXPECT_EQ(applied, -1);

    deliverQueuedCalls();
    EXPECT_EQ(applied, 42);
    EXPECT_TRUE(voidApplied);
    EXPECT_NE(workThread, QCoreApplication::instance()->thread());
    EXPECT_EQ(applyThread, QCoreApplication::instance()->thread());
}

TEST(BackgroundRunner, DropsTheResultWhenTheReceiverIsGone)
{
    BackgroundRunner runner;
    auto receiver = std::make_unique<QObject>();
    bool applied = false;
    auto shared = std::make_shared<int>(7);

    runner.run(TaskPriority::utility, receiver.get(), [shared] { return *shared; }, [&](int) { applied = true; });
    runner.waitForDone();
    receiver.reset();
    deliverQueuedCalls();

    EXPECT_FALSE(applied);
    EXPECT_EQ(shared.use_count(), 1);
}

TEST(BackgroundRunner, RunsUserInitiatedWorkBeforeQueuedUtilityWork)
{
    BackgroundRunner runner(1);
    std::latch started(1);
    std::latch release(1);
    std::mutex mutex;
    std::vector<int> order;
    auto record = [&](int job) {
        return [&, job] {
            std::lock_guard lock(mutex);
            order.push_back(job);
        };
    };

    runner.start(TaskPriority::utility, [&] {
        started.count_down();
        release.wait();
    });
    started.wait();
    runner.start(TaskPriority::utility, record(1));
    runner.start(TaskPriority::utility, record(2));
    runner.start(TaskPriority::userInitiated, record(3));
    release.count_down();
    runner.waitForDone();

    EXPECT_EQ(order, (std::vector<int>{3, 1, 2}));
}

TEST(BackgroundRunner, SamplesOnItsOwnThreadWhileEveryWorkerIsBusy)
{
    BackgroundRunner runner(1);
    QObject receiver;
    std::latch release(1);
    std::promise<QThread*> sampled;
    std::vector<QThread*> applied;
    QThread* workerThread = nullptr;

    runner.start(TaskPriority::utility, [&] {
        workerThread = QThread::currentThread();
        release.wait();
    });
    runner.runSampling(
        &receiver,
        [&sampled] {
            sampled.set_value(QThread::currentThread());
            return QThread::currentThread();
        },
        [&](QThread* thread) { applied.push_back(thread); });
    // Returns only because the sampler does not wait for the blocked worker.
    QThread* samplerThread = sampled.get_future().get();
    release.count_down();

    runner.runSampling(
        &receiver, [] { return QThread::currentThread(); }, [&](QThread* thread) { applied.push_back(thread); });
    runner.waitForDone();
    deliverQueuedCalls();

    EXPECT_NE(samplerThread, workerThread);
    EXPECT_EQ(applied, (std::vector<QThread*>{samplerThread, samplerThread}));
}
