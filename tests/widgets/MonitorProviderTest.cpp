#include "widgets/extension/MonitorProvider.h"
#include "platform/Clock.h"
#include "support/EventWait.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <set>

using namespace harborlite;

namespace {

const QDateTime kNow = QDateTime(QDate(2024, 5, 6), QTime(10, 30), Qt::UTC);

// Samplers that record what they were asked. Each returns zeros on its first
// call, as a new SystemMetrics does, and its own marked sample after that.
struct FakeSampling {
    struct Sampler {
        int calls = 0;
        int number = 0;
    };

    std::mutex mutex;
    std::vector<std::shared_ptr<Sampler>> made;
    std::atomic<int> pauses{0};
    std::function<void()> pause = [] {};

    MonitorProvider::Sampling sampling()
    {
        MonitorProvider::Sampling s;
        s.makeSampler = [this] {
            auto sampler = std::make_shared<Sampler>();
            {
                std::lock_guard lock(mutex);
                sampler->number = static_cast<int>(made.size()) + 1;
                made.push_back(sampler);
            }
            return MonitorProvider::Sampler([sampler] {
                SystemSnapshot snapshot;
                if (sampler->calls++ > 0) {
                    snapshot.cpuUsage = 0.5;
                    snapshot.networkIn = 1000 * sampler->number;
                    snapshot.networkOut = 10 * sampler->number;
                }
                return snapshot;
            });
        };
        s.pause = [this] {
            ++pauses;
            pause();
        };
        return s;
    }

    std::size_t count()
    {
        std::lock_guard lock(mutex);
        return made.size();
    }
};

// Waits for a value a worker hands over.
template <typename T>
struct Delivery {
    std::mutex mutex;
    std::optional<T> value;
    QThread* thread = nullptr;

    std::function<void(T)> completion()
    {
        return [this](T delivered) {
            {
                std::lock_guard lock(mutex);
                value = std::move(delivered);
                thread = QThread::currentThread();
            }
            test::wakeWaiters();
        };
    }

    T wait()
    {
        test::waitFor([this] {
            std::lock_guard lock(mutex);
            return value.has_value();
        });
        std::lock_guard lock(mutex);
        return *value;
    }
};

} // namespace

TEST(MonitorProvider, ThePlaceholderSampleHoldsTheFixedValues)
{
    const SystemSnapshot s = MonitorProvider::placeholderSnapshot();
    EXPECT_DOUBLE_EQ(s.cpuUsage, 0.22);
    EXPECT_DOUBLE_EQ(s.cpuUser, 0.14);
    EXPECT_DOUBLE_EQ(s.cpuSystem, 0.08);
    EXPECT_EQ(s.memoryUsed, 12'600'000'000);
    EXPECT_EQ(s.memoryTotal, 17'180'000'000);
    EXPECT_DOUBLE_EQ(s.memoryPressure, 0.73);
    EXPECT_EQ(s.swapUsed, 1'380'000'000);
    EXPECT_EQ(s.diskFree, 161'000'000'000);
    EXPECT_EQ(s.diskTotal, 494'000'000'000);
    EXPECT_EQ(s.networkIn, 1'200'000);
    EXPECT_EQ(s.networkOut, 88'000);
    EXPECT_EQ(s.batteryLevel, 0.61);
    EXPECT_FALSE(s.batteryIsCharging);
    EXPECT_EQ(s.batteryCycleCount, 155);
    EXPECT_FALSE(s.batteryHealth.has_value());
    EXPECT_DOUBLE_EQ(s.uptime, 0);
    EXPECT_FALSE(s.memoryStall.has_value());
}

TEST(MonitorProvider, PlaceholderAndPreviewAnswerAtOnceWithoutMeasuring)
{
    platform::Seam<QDateTime>::Override clock(platform::clock(), kNow);
    FakeSampling fake;
    const MonitorProvider provider(fake.sampling());

    EXPECT_EQ(provider.placeholder({}), (MonitorEntry{kNow, MonitorProvider::placeholderSnapshot()}));

    std::optional<MonitorEntry> preview;
    QThread* answeredOn = nullptr;
    provider.getSnapshot({WidgetFamily::systemMedium, true, {}}, [&](MonitorEntry entry) {
        preview = entry;
        answeredOn = QThread::currentThread();
    });
    ASSERT_TRUE(preview.has_value()) << "the preview is answered before the call returns";
    EXPECT_EQ(*preview, (MonitorEntry{kNow, MonitorProvider::placeholderSnapshot()}));
    EXPECT_EQ(answeredOn, QThread::currentThread());
    EXPECT_EQ(fake.count(), 0u);
    EXPECT_EQ(fake.pauses, 0);
}

TEST(MonitorProvider, ALiveSnapshotIsTheSecondSampleOfANewSamplerTakenOnAWorker)
{
    platform::Seam<QDateTime>::Override clock(platform::clock(), kNow);
    FakeSampling fake;
    const MonitorProvider provider(fake.sampling());
    Delivery<MonitorEntry> delivery;

    provider.getSnapshot({WidgetFamily::systemSmall, false, {}}, delivery.completion());
    const MonitorEntry entry = delivery.wait();

    EXPECT_EQ(entry.date, kNow);
    // The discarded baseline's zero rates never reach the entry.
    EXPECT_DOUBLE_EQ(entry.snapshot.cpuUsage, 0.5);
    EXPECT_EQ(entry.snapshot.networkIn, 1000);
    EXPECT_NE(delivery.thread, QThread::currentThread());
    ASSERT_EQ(fake.count(), 1u);
    EXPECT_EQ(fake.made[0]->calls, 2);
    EXPECT_EQ(fake.pauses, 1);
}

TEST(MonitorProvider, ATimelineHoldsOneEntryAndReloadsFiveMinutesAfterIt)
{
    platform::Seam<QDateTime>::Override clock(platform::clock(), kNow);
    FakeSampling fake;
    const MonitorProvider provider(fake.sampling());
    Delivery<Timeline<MonitorEntry>> delivery;

    provider.getTimeline({WidgetFamily::systemLarge, false, {}}, delivery.completion());
    const Timeline<MonitorEntry> timeline = delivery.wait();

    ASSERT_EQ(timeline.entries.size(), 1u);
    EXPECT_EQ(timeline.entries[0].date, kNow);
    EXPECT_EQ(timeline.entries[0].snapshot.networkOut, 10);
    EXPECT_EQ(timeline.policy, ReloadPolicy::after(kNow.addSecs(300)));
    EXPECT_NE(delivery.thread, QThread::currentThread());
}

TEST(MonitorProvider, RequestsAtTheSameTimeMeasureWithSamplersOfTheirOwn)
{
    platform::Seam<QDateTime>::Override clock(platform::clock(), kNow);
    FakeSampling fake;
    // Both requests take their baseline before either measures: each worker
    // waits in its pause until the other has arrived there too.
    std::mutex mutex;
    std::condition_variable arrived;
    int paused = 0;
    fake.pause = [&] {
        std::unique_lock lock(mutex);
        ++paused;
        arrived.notify_all();
        arrived.wait_for(lock, std::chrono::seconds(30), [&] { return paused >= 2; });
    };
    QThreadPool pool;
    pool.setMaxThreadCount(2);
    MonitorProvider::Sampling sampling = fake.sampling();
    sampling.queue = &pool;
    const MonitorProvider provider(sampling);
    Delivery<Timeline<MonitorEntry>> first;
    Delivery<Timeline<MonitorEntry>> second;

    provider.getTimeline({}, first.completion());
    provider.getTimeline({}, second.completion());
    const qint64 a = first.wait().entries.at(0).snapshot.networkIn;
    const qint64 b = second.wait().entries.at(0).snapshot.networkIn;

    EXPECT_EQ(paused, 2);
    ASSERT_EQ(fake.count(), 2u);
    EXPECT_EQ(fake.made[0]->calls, 2);
    EXPECT_EQ(fake.made[1]->calls, 2);
    // Each entry carries its own sampler's measurement.
    EXPECT_EQ(std::set<qint64>({a, b}), std::set<qint64>({1000, 2000}));
    EXPECT_NE(first.thread, second.thread);
}

TEST(MonitorProvider, TheMachineSamplerMeasuresOverThePause)
{
    const MonitorProvider provider;
    Delivery<Timeline<MonitorEntry>> delivery;
    const QDateTime before = platform::now();

    provider.getTimeline({}, delivery.completion());
    const Timeline<MonitorEntry> timeline = delivery.wait();

    ASSERT_EQ(timeline.entries.size(), 1u);
    const MonitorEntry& entry = timeline.entries[0];
    EXPECT_GE(before.msecsTo(entry.date), MonitorProvider::kSamplePause.count());
    EXPECT_EQ(timeline.policy.kind, ReloadPolicy::Kind::after);
    EXPECT_GE(entry.date.secsTo(timeline.policy.date), 300);
    EXPECT_GT(entry.snapshot.memoryTotal, 0);
}
