#include "shared/IoThreads.h"
#include "shared/FileSystem.h"
#include "support/ConditionWait.h"
#include "support/FixtureTree.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

using namespace harborlite;
using harborlite::test::FixtureTree;

namespace {

// Holds every thread of the budget until released.
class BusyBudget {
public:
    BusyBudget()
    {
        for (int i = 0; i < IoThreads::budget(); ++i) {
            // A walk that has just ended may not have handed its threads back yet.
            while (!IoThreads::tryStart([this] {
                std::unique_lock lock(mutex_);
                ++holding_;
                changed_.notify_all();
                test::waitUntil(lock, changed_, [this] { return released_; });
                --holding_;
                changed_.notify_all();
            })) {
                std::this_thread::yield();
            }
        }
        std::unique_lock lock(mutex_);
        test::waitUntil(lock, changed_, [this] { return holding_ == IoThreads::budget(); });
    }
    ~BusyBudget()
    {
        std::unique_lock lock(mutex_);
        released_ = true;
        changed_.notify_all();
        test::waitUntil(lock, changed_, [this] { return holding_ == 0; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int holding_ = 0;
    bool released_ = false;
};

} // namespace

TEST(IoThreads, ForEachCallsEveryIndexOnce)
{
    std::vector<std::atomic<int>> calls(5000);
    IoThreads::forEach(calls.size(), [&](std::size_t i) { ++calls[i]; });
    EXPECT_TRUE(std::all_of(calls.begin(), calls.end(), [](const std::atomic<int>& n) { return n == 1; }));
    IoThreads::forEach(0, [](std::size_t) { ADD_FAILURE() << "nothing to do"; });
}

// Two scans at once share one budget: never more threads at work than it
// holds, besides the two that asked.
TEST(IoThreads, ConcurrentCallersShareOneBudget)
{
    std::atomic<int> active = 0;
    std::atomic<int> most = 0;
    const auto work = [&](std::size_t i) {
        const int now = ++active;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) { }
        QCryptographicHash::hash(QByteArray(64 * 1024, char(i)), QCryptographicHash::Sha256);
        --active;
    };
    std::thread first([&] { IoThreads::forEach(400, work); });
    std::thread second([&] { IoThreads::forEach(400, work); });
    first.join();
    second.join();
    EXPECT_LE(most.load(), IoThreads::budget() + 2);
    EXPECT_GE(most.load(), 1);
}

// With every thread of the budget taken, work still gets done, on the
// caller's own thread, and a walk still counts every byte.
TEST(IoThreads, ABusyBudgetLeavesTheWorkToTheCaller)
{
    FixtureTree tree;
    for (int i = 0; i < 30; ++i) {
        tree.file(QStringLiteral("r/d%1/e/f").arg(i), 4096 * (i + 1));
    }
    const qint64 expected = FS::size(tree.path("r"));
    const BusyBudget busy;
    EXPECT_FALSE(IoThreads::tryStart([] {}));
    std::atomic<int> calls = 0;
    IoThreads::forEach(100, [&](std::size_t) { ++calls; });
    EXPECT_EQ(calls.load(), 100);
    EXPECT_EQ(FS::size(tree.path("r")), expected);
}
