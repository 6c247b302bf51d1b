#include "model/MonitorFeed.h"
#include "model/FakeServices.h"
#include "model/MonitorSettings.h"
#include "shared/MemoryDefaults.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

using namespace harborlite;
using harborlite::test::Gate;
using harborlite::test::ScanScript;
using harborlite::test::waitFor;

namespace {

class MonitorFeedTest : public ::testing::Test {
protected:
    MemoryDefaults defaults;
    ScanScript script;
    std::shared_ptr<test::FakeServices> services = std::make_shared<test::FakeServices>();
    std::shared_ptr<BackgroundRunner> runner = std::make_shared<BackgroundRunner>(8);
    // Ticks the monitoring loop asked for, with their waits.
    QList<double> tickWaits;
    QList<std::function<void()>> ticks;
    std::unique_ptr<MonitorSettings> settings;
    std::unique_ptr<MonitorFeed> feed;

    ~MonitorFeedTest() override
    {
        services->openGates();
        feed.reset();
        runner->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    // The settings are read from the defaults as they are now.
    MonitorFeed& makeFeed()
    {
        settings = std::make_unique<MonitorSettings>(defaults);
        feed = std::make_unique<MonitorFeed>(test::scriptedEngine(script, services).monitorFeed(), *settings, runner,
                                             [this](QObject*, double seconds, std::function<void()> tick) {
                                                 tickWaits.append(seconds);
                                                 ticks.append(std::move(tick));
                                             });
        return *feed;
    }

    // Runs the monitoring loop's next tick as its timer would.
    void fireTick(qsizetype index)
    {
        const std::function<void()> tick = ticks.at(index);
        tick();
    }
};

} // namespace

TEST_F(MonitorFeedTest, AFreshFeedHoldsNoReadings)
{
    const MonitorFeed& fresh = makeFeed();

    EXPECT_EQ(fresh.snapshot(), SystemSnapshot{});
    EXPECT_TRUE(fresh.cpuSeries().isEmpty());
    EXPECT_TRUE(fresh.memorySeries().isEmpty());
    EXPECT_TRUE(fresh.networkInSeries().isEmpty());
    EXPECT_TRUE(fresh.networkOutSeries().isEmpty());
    EXPECT_TRUE(fresh.storageSeries().isEmpty());
    EXPECT_EQ(services->samples, 0);
}

namespace {

SystemSnapshot sample(double cpu, qint64 used, qint64 total, qint64 free, qint64 disk, qint64 in, qint64 out)
{
    SystemSnapshot snapshot;
    snapshot.cpuUsage = cpu;
    snapshot.memoryUsed = used;
    snapshot.memoryTotal = total;
    snapshot.diskFree = free;
    snapshot.diskTotal = disk;
    snapshot.networkIn = in;
    snapshot.networkOut = out;
    return snapshot;
}

} // namespace

TEST_F(MonitorFeedTest, MonitoringSamplesAtOnceThenOncePerIntervalReadAfresh)
{
    services->snapshots = {sample(0, 50, 100, 30, 100, 0, 0), sample(0.5, 1, 0, 200, 100, 3'500'000, 10),
                           sample(1, 1, 4, 1, 0, 1, 1)};
    defaults.setValue("monitor.refreshInterval", 10);
    makeFeed();

    feed->startMonitoring();
    feed->startMonitoring();
    waitFor([&] { return feed->cpuSeries().size() == 1; });
    ASSERT_EQ(ticks.size(), 1);
    EXPECT_EQ(tickWaits.at(0), 10);
    EXPECT_EQ(feed->networkScale(), 1'000'000);

    // A new interval replaces the wait under way at once; the replaced wait's
    // tick samples nothing.
    settings->setRefreshInterval(1);
    ASSERT_EQ(ticks.size(), 2);
    fireTick(0);
    EXPECT_EQ(ticks.size(), 2);
    fireTick(1);
    waitFor([&] { return feed->cpuSeries().size() == 2; });
    fireTick(2);
    waitFor([&] { return feed->cpuSeries().size() == 3; });

    EXPECT_EQ(tickWaits, QList<double>({10, 1, 1, 1}));
    EXPECT_EQ(feed->cpuSeries(), QList<double>({0, 0.5, 1}));
    EXPECT_EQ(feed->memorySeries(), QList<double>({0.5, 0, 0.25}));
    EXPECT_EQ(feed->storageSeries(), QList<double>({0.7, 0, 0}));
    EXPECT_EQ(feed->networkInSeries(), QList<double>({0, 3'500'000, 1}));
    EXPECT_EQ(feed->snapshot(), services->snapshots.at(2));
    EXPECT_EQ(feed->networkScale(), 3'500'000);
    EXPECT_EQ(services->samples, 3);
}

TEST_F(MonitorFeedTest, TheIntervalIsNeverShorterThanHalfASecond)
{
    defaults.setValue("monitor.refreshInterval", 0);
    makeFeed();
    settings->setRefreshInterval(0.1);

    feed->startMonitoring();
    // Another interval below the floor is the same wait: nothing is replaced.
    settings->setRefreshInterval(0.2);
    settings->setShowMenuBarMonitor(false);

    EXPECT_EQ(tickWaits, QList<double>({0.5}));
}

TEST_F(MonitorFeedTest, ASlowSampleSkipsTicksAndNeverOverlaps)
{
    services->samplerGate = std::make_shared<Gate>();
    makeFeed();

    feed->startMonitoring();
    fireTick(0);
    fireTick(1);
    fireTick(2);
    services->samplerGate->open();
    waitFor([&] { return !feed->cpuSeries().isEmpty(); });
    runner->waitForDone();
    QCoreApplication::sendPostedEvents();

    EXPECT_EQ(services->samples, 1);
    EXPECT_EQ(feed->cpuSeries().size(), 1);
    EXPECT_EQ(ticks.size(), 4);
}

TEST_F(MonitorFeedTest, SeriesKeepTheNewestNinetySamples)
{
    for (int i = 0; i < 91; ++i) {
        services->snapshots.append(sample(i / 100.0, 0, 0, 0, 0, 0, 0));
    }
    makeFeed();

    feed->startMonitoring();
    for (int i = 1; i <= 90; ++i) {
        waitFor([&] { return feed->cpuSeries().size() == std::min(i, 90); });
        fireTick(i - 1);
    }
    waitFor([&] { return services->samples == 91 && feed->cpuSeries().last() == 0.9; });

    EXPECT_EQ(feed->cpuSeries().size(), 90);
    EXPECT_EQ(feed->cpuSeries().first(), 0.01);
    EXPECT_EQ(feed->storageSeries().size(), 90);
}
