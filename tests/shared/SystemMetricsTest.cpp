#include "shared/SystemMetrics.h"
#include "platform/HomeFolder.h"
#include "platform/KernelRoots.h"
#include "platform/SteadyClock.h"
#include "support/FixtureTree.h"
#include "support/QtPrinters.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace harborlite;
using harborlite::test::FixtureTree;
using namespace std::chrono_literals;

namespace {

// A proc and sys tree for one sampler. Files are rewritten in place, as the
// kernel's are, so the sampler's open descriptors see the new text.
class SystemMetricsTest : public ::testing::Test {
protected:
    SystemMetricsTest()
    {
        proc("stat", "cpu  100 0 100 800 0 0 0 0 0 0\ncpu0 100 0 100 800\n");
        proc("meminfo", "MemTotal: 1000 kB\nMemAvailable: 250 kB\nSwapTotal: 100 kB\nSwapFree: 40 kB\n");
        proc("uptime", "3600.25 7000.00\n");
        net(0, 0);
        tree.folder("sys/class/power_supply");
        tree.folder("home");
        at(0s);
    }

    void proc(const QString& name, const QByteArray& text) { rewrite("proc/" + name, text); }

    void rewrite(const QString& relative, const QByteArray& text)
    {
        const QString path = tree.path(relative);
        if (!QFile::exists(path)) {
            tree.file(relative, text);
            return;
        }
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    void net(quint64 received, quint64 sent, quint64 loopback = 0)
    {
        const QByteArray lo = QByteArray::number(loopback);
        proc("net/dev",
             "Inter-|   Receive |  Transmit\n face |bytes packets|bytes packets\n"
             "    lo: "
                 + lo + " 1 0 0 0 0 0 0 " + lo
                 + " 1 0 0 0 0 0 0\n"
                   "enp3s0: "
                 + QByteArray::number(received) + " 1 0 0 0 0 0 0 " + QByteArray::number(sent) + " 1 0 0 0 0 0 0\n");
    }

    void battery(const QString& name, const QList<QPair<QString, QByteArray>>& attributes)
    {
        for (const auto& [attribute, value] : attributes) {
            rewrite("sys/class/power_supply/" + name + "/" + attribute, value + "\n");
        }
    }

    void at(std::chrono::milliseconds moment)
    {
        clock.reset();
        clock.emplace(platform::steadyClock(), std::chrono::steady_clock::time_point(moment));
    }

    FixtureTree tree;
    platform::Seam<QString>::Override procRoot{platform::procRoot(), tree.path("proc")};
    platform::Seam<QString>::Override sysRoot{platform::sysRoot(), tree.path("sys")};
    platform::Seam<QString>::Override home{platform::homeFolder(), tree.path("home")};
    std::optional<platform::Seam<std::chrono::steady_clock::time_point>::Override> clock;
};

} // namespace

TEST_F(SystemMetricsTest, FirstSnapshotHasNoRatesButEveryLevel)
{
    net(1000, 2000);
    SystemMetrics metrics;
    const SystemSnapshot first = metrics.snapshot();
    EXPECT_EQ(first.cpuUsage, 0.0);
    EXPECT_EQ(first.cpuUser, 0.0);
    EXPECT_EQ(first.cpuSystem, 0.0);
    EXPECT_EQ(first.networkIn, 0);
    EXPECT_EQ(first.networkOut, 0);
    EXPECT_EQ(first.memoryTotal, 1000 * 1024);
    EXPECT_EQ(first.memoryUsed, 750 * 1024);
    EXPECT_EQ(first.memoryPressure, 0.75);
    EXPECT_EQ(first.swapUsed, 60 * 1024);
    EXPECT_GT(first.diskTotal, 0);
    EXPECT_GT(first.diskFree, 0);
    EXPECT_EQ(first.uptime, 3600.25);
    EXPECT_FALSE(first.memoryStall.has_value());
}

TEST_F(SystemMetricsTest, RatesCoverTheIntervalSinceThePreviousSnapshot)
{
    SystemMetrics metrics;
    metrics.snapshot();

    // 1000 ticks pass: 300 user + 100 nice, 200 system (interrupts included),
    // 400 idle (waiting for input included).
    proc("stat", "cpu  400 100 250 1100 100 30 20 0 0 0\n");
    net(10000, 4000, 999999);
    at(2s);
    const SystemSnapshot second = metrics.snapshot();
    EXPECT_DOUBLE_EQ(second.cpuUsage, 0.6);
    EXPECT_DOUBLE_EQ(second.cpuUser, 0.4);
    EXPECT_DOUBLE_EQ(second.cpuSystem, 0.2);
    // The loopback interface's traffic counts for nothing.
    EXPECT_EQ(second.networkIn, 5000);
    EXPECT_EQ(second.networkOut, 2000);

    // Less than 50 ms later: no rate, but the new totals become the baseline.
    net(20000, 4000);
    at(2s + 40ms);
    const SystemSnapshot third = metrics.snapshot();
    EXPECT_EQ(third.networkIn, 0);
    EXPECT_EQ(third.networkOut, 0);

    net(21000, 4500);
    at(3s + 40ms);
    const SystemSnapshot fourth = metrics.snapshot();
    EXPECT_EQ(fourth.networkIn, 1000);
    EXPECT_EQ(fourth.networkOut, 500);
}

TEST_F(SystemMetricsTest, CountersGoingBackwardsGiveNoNegativeOrHugeValues)
{
    SystemMetrics metrics;
    metrics.snapshot();
    // Waiting time for input can fall on idle processors; the interface was reset.
    proc("stat", "cpu  200 0 200 900 0 0 0 0 0 0\n");
    net(0, 0);
    at(1s);
    const SystemSnapshot later = metrics.snapshot();
    EXPECT_DOUBLE_EQ(later.cpuUsage, 200.0 / 300.0);
    EXPECT_EQ(later.networkIn, 0);
    EXPECT_EQ(later.networkOut, 0);
}

TEST_F(SystemMetricsTest, UnreadableCountersKeepTheLastGoodBaseline)
{
    SystemMetrics metrics;
    metrics.snapshot();
    proc("stat", "cpu  garbage\n");
    proc("net/dev", "");
    at(1s);
    const SystemSnapshot broken = metrics.snapshot();
    EXPECT_EQ(broken.cpuUsage, 0.0);
    EXPECT_EQ(broken.networkIn, 0);

    proc("stat", "cpu  200 0 100 900\n");
    net(3000, 0);
    at(3s);
    const SystemSnapshot recovered = metrics.snapshot();
    EXPECT_DOUBLE_EQ(recovered.cpuUsage, 0.5);
    EXPECT_EQ(recovered.networkIn, 1000);
}

TEST_F(SystemMetricsTest, MissingFilesGiveZeros)
{
    QFile::remove(tree.path("proc/meminfo"));
    QFile::remove(tree.path("proc/uptime"));
    proc("stat", "cpu 1 2\n");
    SystemMetrics metrics;
    const SystemSnapshot snapshot = metrics.snapshot();
    EXPECT_EQ(snapshot.memoryTotal, 0);
    EXPECT_EQ(snapshot.memoryUsed, 0);
    EXPECT_EQ(snapshot.memoryPressure, 0.0);
    EXPECT_EQ(snapshot.swapUsed, 0);
    EXPECT_EQ(snapshot.uptime, 0.0);

    // Total memory reported as 0 yields no pressure.
    proc("meminfo", "MemTotal: 0 kB\nMemAvailable: 0 kB\n");
    EXPECT_EQ(metrics.snapshot().memoryPressure, 0.0);
}

TEST_F(SystemMetricsTest, MemoryStallWhenTheKernelReportsIt)
{
    proc("pressure/memory", "some avg10=2.00 avg60=1.00 avg300=0.50 total=1\nfull avg10=1.00 avg60=0 avg300=0 total=1");
    SystemMetrics metrics;
    EXPECT_EQ(metrics.snapshot().memoryStall, 0.02);
}

TEST_F(SystemMetricsTest, NoBatteryLeavesTheBatteryFieldsAbsent)
{
    battery("AC", {{"type", "Mains"}, {"online", "1"}});
    battery("BAT0", {{"type", "Battery"}, {"energy_now", "0"}, {"energy_full", "0"}});
    SystemMetrics metrics;
    const SystemSnapshot snapshot = metrics.snapshot();
    EXPECT_FALSE(snapshot.batteryLevel.has_value());
    EXPECT_FALSE(snapshot.batteryIsCharging);
    EXPECT_FALSE(snapshot.batteryCycleCount.has_value());
    EXPECT_FALSE(snapshot.batteryHealth.has_value());
}

TEST_F(SystemMetricsTest, FirstReadableSystemBatteryGivesTheBatteryFields)
{
    struct Row {
        QList<QPair<QString, QByteArray>> attributes;
        double level;
        bool charging;
        std::optional<int> cycles;
        std::optional<QString> health;
    };
    const Row rows[] = {
        {{{"energy_now", "30000000"},
          {"energy_full", "40000000"},
          {"capacity", "50"},
          {"status", "Charging"},
          {"cycle_count", "321"},
          {"health", "Good"}},
         0.75,
         true,
         321,
         QStringLiteral("Good")},
        {{{"charge_now", "1000"}, {"charge_full", "4000"}, {"status", "Discharging"}},
         0.25,
         false,
         std::nullopt,
         std::nullopt},
        {{{"energy_now", "10"}, {"energy_full", "0"}, {"capacity", "42"}, {"cycle_count", "99999999999"}},
         0.42,
         false,
         std::nullopt,
         std::nullopt},
    };
    for (const Row& row : rows) {
        FixtureTree sys;
        platform::Seam<QString>::Override root(platform::sysRoot(), sys.root());
        // A wireless mouse's battery and one that cannot tell its charge come first by name.
        sys.file("class/power_supply/AAA_mouse/type", "Battery\n");
        sys.file("class/power_supply/AAA_mouse/scope", "Device\n");
        sys.file("class/power_supply/AAA_mouse/capacity", "10\n");
        sys.file("class/power_supply/BAT0/type", "Battery");
        sys.file("class/power_supply/BAT0/energy_full", "100\n");
        sys.file("class/power_supply/BAT1/type", "Battery\n");
        for (const auto& [attribute, value] : row.attributes) {
            sys.file("class/power_supply/BAT1/" + attribute, value + "\n");
        }
        SystemMetrics metrics;
        const SystemSnapshot snapshot = metrics.snapshot();
        EXPECT_EQ(snapshot.batteryLevel, row.level);
        EXPECT_EQ(snapshot.batteryIsCharging, row.charging);
        EXPECT_EQ(snapshot.batteryCycleCount, row.cycles);
        EXPECT_EQ(snapshot.batteryHealth, row.health);
    }
}

TEST(SystemMetrics, ReadsThisMachine)
{
    SystemMetrics metrics;
    const SystemSnapshot first = metrics.snapshot();
    EXPECT_GT(first.memoryTotal, 0);
    EXPECT_GT(first.memoryUsed, 0);
    EXPECT_GT(first.uptime, 0.0);
    const SystemSnapshot second = metrics.snapshot();
    EXPECT_GE(second.cpuUsage, 0.0);
    EXPECT_LE(second.cpuUsage, 1.0);
}
