#include "model/BackgroundRunner.h"
#include "support/ConditionWait.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <future>
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
    runner.run(
        TaskPriority::userInitiated, &receiver, [] {}, [&] { voidApplied = true; });
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

    runner.run(
        TaskPriority::utility, receiver.get(), [shared] { return *shared; }, [&](int) { applied = true; });
    runner.waitForDone();
    receiver.reset();
    deliverQueuedCalls();

    EXPECT_FALSE(applied);
    EXPECT_EQ(shared.use_count(), 1);
}

TEST(BackgroundRunner, RunsUserInitiatedWorkBeforeQueuedUtilityWork)
{
    BackgroundRunner runner(1);
    std::promise<void> started;
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    std::mutex mutex;
    std::vector<int> order;
    auto record = [&](int job) {
        return [&, job] {
            std::lock_guard lock(mutex);
            order.push_back(job);
        };
    };

    runner.start(TaskPriority::utility, [&] {
        started.set_value();
        test::waitUntilReady(released);
    });
    test::waitUntilReady(started.get_future());
    runner.start(TaskPriority::utility, record(1));
    runner.start(TaskPriority::utility, record(2));
    runner.start(TaskPriority::userInitiated, record(3));
    release.set_value();
    runner.waitForDone();

    EXPECT_EQ(order, (std::vector<int>{3, 1, 2}));
}

TEST(BackgroundRunner, SamplesOnItsOwnThreadWhileEveryWorkerIsBusy)
{
    BackgroundRunner runner(1);
    QObject receiver;
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    std::promise<QThread*> sampled;
    std::vector<QThread*> applied;
    QThread* workerThread = nullptr;

    runner.start(TaskPriority::utility, [&] {
        workerThread = QThread::currentThread();
        test::waitUntilReady(released);
    });
    runner.runSampling(
        &receiver,
        [&sampled] {
            sampled.set_value(QThread::currentThread());
            return QThread::currentThread();
        },
        [&](QThread* thread) { applied.push_back(thread); });
    // Returns only because the sampler does not wait for the blocked worker.
    std::future<QThread*> sampledThread = sampled.get_future();
    QThread* samplerThread = test::waitUntilReady(sampledThread) ? sampledThread.get() : nullptr;
    release.set_value();

    runner.runSampling(
        &receiver, [] { return QThread::currentThread(); }, [&](QThread* thread) { applied.push_back(thread); });
    runner.waitForDone();
    deliverQueuedCalls();

    EXPECT_NE(samplerThread, workerThread);
    EXPECT_EQ(applied, (std::vector<QThread*>{samplerThread, samplerThread}));
}
