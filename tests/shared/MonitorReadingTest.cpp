#include "shared/MonitorReading.h"
#include "platform/Clock.h"
#include "shared/Formatting.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <limits>

using namespace harborlite;

namespace {

const QString kDash = QStringLiteral(u"\u2014");

struct Expected {
    QString headline;
    QString compact;
    QString caption;
    double fraction;
    bool isAvailable;
};

void expectReading(const MonitorReading& reading, const Expected& expected, const char* what)
{
    EXPECT_EQ(reading.headline, expected.headline) << what;
    EXPECT_EQ(reading.compact, expected.compact) << what;
    EXPECT_EQ(reading.caption, expected.caption) << what;
    EXPECT_DOUBLE_EQ(reading.fraction, expected.fraction) << what;
    EXPECT_EQ(reading.isAvailable, expected.isAvailable) << what;
}

} // namespace

TEST(MonitorReading, TitlesAndSymbolsOfEveryKind)
{
    const struct {
        MonitorKind kind;
        const char* title;
        const char* symbol;
    } rows[] = {
        {MonitorKind::cpu, "CPU", "cpu"},
        {MonitorKind::memory, "Memory", "memorychip"},
        {MonitorKind::storage, "Storage", "internaldrive"},
        {MonitorKind::network, "Network", "arrow.up.arrow.down"},
        {MonitorKind::battery, "Battery", "battery.100"},
        {MonitorKind::processes, "Top Processes", "list.bullet.rectangle"},
        {MonitorKind::junk, "Reclaimable", "trash.circle"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(title(row.kind), QString::fromUtf8(row.title));
        EXPECT_EQ(symbol(row.kind), QString::fromUtf8(row.symbol));
    }
}

TEST(MonitorReading, BeforeTheFirstSample)
{
    const MonitorInputs none;
    const QString zero = Format::compactBytes(0);
    const struct {
        MonitorKind kind;
        Expected expected;
    } rows[] = {
        {MonitorKind::cpu, {"0%", "0%", QStringLiteral(u"User 0% \u00B7 System 0%"), 0, true}},
        {MonitorKind::memory, {"0 KB", zero, QStringLiteral(u"of 0 KB \u00B7 swap 0 KB"), 0, true}},
        {MonitorKind::storage, {"0 KB", zero, "free of 0 KB", 0, true}},
        {MonitorKind::network, {"0 KB/s", zero + "/s", "Up 0 KB/s", 0, true}},
        {MonitorKind::battery, {kDash, kDash, "No battery in this Mac", 0, false}},
        {MonitorKind::processes, {kDash, kDash, QStringLiteral(u"Sampling\u2026"), 0, false}},
        {MonitorKind::junk, {kDash, kDash, "Run a scan to measure", 0, false}},
    };
    for (const auto& row : rows) {
        const MonitorReading reading = monitorReading(row.kind, none);
        expectReading(reading, row.expected, qPrintable(rawValue(row.kind)));
        EXPECT_EQ(reading.tint, tint(row.kind));
        EXPECT_TRUE(reading.series.empty());
    }
    EXPECT_EQ(monitorReading(MonitorKind::network, none).scale, 1'000'000);
    EXPECT_EQ(monitorReading(MonitorKind::cpu, none).scale, std::nullopt);
}

TEST(MonitorReading, SampledValues)
{
    const QDateTime now(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);
    platform::Seam<QDateTime>::Override pinned(platform::clock(), now);
    const qint64 huge = std::numeric_limits<qint64>::max();

    const struct {
        const char* what;
        MonitorKind kind;
        void (*fill)(MonitorInputs&);
        Expected expected;
    } rows[] = {
        {"cpu",
         MonitorKind::cpu,
         [](MonitorInputs& in) {
             in.snapshot.cpuUsage = 0.423;
             in.snapshot.cpuUser = 0.3;
             in.snapshot.cpuSystem = 0.123;
         },
         {"42%", "42%", QStringLiteral(u"User 30% \u00B7 System 12%"), 0.423, true}},
        {"cpu above one stays unclamped",
         MonitorKind::cpu,
         [](MonitorInputs& in) { in.snapshot.cpuUsage = 1.25; },
         {"125%", "125%", QStringLiteral(u"User 0% \u00B7 System 0%"), 1.25, true}},
        {"cpu not a number",
         MonitorKind::cpu,
         [](MonitorInputs& in) { in.snapshot.cpuUsage = std::numeric_limits<double>::quiet_NaN(); },
         {"0%", "0%", QStringLiteral(u"User 0% \u00B7 System 0%"), 0, true}},
        {"memory",
         MonitorKind::memory,
         [](MonitorInputs& in) {
             in.snapshot.memoryUsed = 4'000'000'000;
             in.snapshot.memoryTotal = 16'000'000'000;
             in.snapshot.swapUsed = 0;
         },
         {"4 GB", "4.00G", QStringLiteral(u"of 16 GB \u00B7 swap 0 KB"), 0.25, true}},
        {"memory with zero total",
         MonitorKind::memory,
         [](MonitorInputs& in) { in.snapshot.memoryUsed = 5'000; },
         {"5 KB", "5.00K", QStringLiteral(u"of 0 KB \u00B7 swap 0 KB"), 0, true}},
        {"storage",
         MonitorKind::storage,
         [](MonitorInputs& in) {
             in.snapshot.diskFree = 250'000'000'000;
             in.snapshot.diskTotal = 1'000'000'000'000;
         },
         {"250 GB", "250G", "free of 1 TB", 0.75, true}},
        {"storage free above total",
         MonitorKind::storage,
         [](MonitorInputs& in) {
             in.snapshot.diskFree = 2'000;
             in.snapshot.diskTotal = 1'000;
         },
         {"2 KB", "2.00K", "free of 1 KB", 0, true}},
        {"storage of a huge disk",
         MonitorKind::storage,
         [](MonitorInputs& in) {
             in.snapshot.diskFree = 0;
             in.snapshot.diskTotal = std::numeric_limits<qint64>::max();
         },
         {"0 KB", "0", "free of " + Format::bytes(huge), 1, true}},
        {"network at half the scale",
         MonitorKind::network,
         [](MonitorInputs& in) {
             in.snapshot.networkIn = 2'000'000;
             in.snapshot.networkOut = 1'500;
             in.networkScale = 4'000'000;
             in.networkInSeries = {1, 2, 3};
         },
         {"2 MB/s", "2.00M/s", "Up 2 KB/s", 0.5, true}},
        {"network above the scale",
         MonitorKind::network,
         [](MonitorInputs& in) { in.snapshot.networkIn = std::numeric_limits<qint64>::max(); },
         {Format::bytes(huge) + "/s", Format::compactBytes(huge) + "/s", "Up 0 KB/s", 1, true}},
        {"battery low, nothing to say",
         MonitorKind::battery,
         [](MonitorInputs& in) { in.snapshot.batteryLevel = 0.15; },
         {"15%", "15%", "On battery", 0.15, true}},
        {"battery level not a number",
         MonitorKind::battery,
         [](MonitorInputs& in) { in.snapshot.batteryLevel = std::numeric_limits<double>::quiet_NaN(); },
         {"0%", "0%", "On battery", 0, true}},
        {"process use not a number",
         MonitorKind::processes,
         [](MonitorInputs& in) {
             in.processCount = 2;
             in.topProcessName = QStringLiteral("x");
             in.topProcessCpu = std::numeric_limits<double>::quiet_NaN();
         },
         {"x", "0%", "2 processes sampled", 0, true}},
        {"battery charging with cycles",
         MonitorKind::battery,
         [](MonitorInputs& in) {
             in.snapshot.batteryLevel = 0.2;
             in.snapshot.batteryIsCharging = true;
             in.snapshot.batteryCycleCount = 312;
         },
         {"20%", "20%", QStringLiteral(u"Charging \u00B7 312 cycles"), 0.2, true}},
        {"battery with everything",
         MonitorKind::battery,
         [](MonitorInputs& in) {
             in.snapshot.batteryLevel = 0.8;
             in.snapshot.batteryIsCharging = true;
             in.snapshot.batteryCycleCount = 5;
             in.snapshot.batteryHealth = QStringLiteral("Good");
         },
         {"80%", "80%", QStringLiteral(u"Charging \u00B7 5 cycles \u00B7 Good"), 0.8, true}},
        {"processes",
         MonitorKind::processes,
         [](MonitorInputs& in) {
             in.processCount = 40;
             in.topProcessName = QStringLiteral("cc1plus");
             in.topProcessCpu = 250;
         },
         {"cc1plus", "250%", "40 processes sampled", 1, true}},
        {"processes light",
         MonitorKind::processes,
         [](MonitorInputs& in) {
             in.processCount = 1;
             in.topProcessName = QStringLiteral("init");
             in.topProcessCpu = 12.4;
         },
         {"init", "12%", "1 processes sampled", 0.124, true}},
        {"junk, a quarter of the disk saturates",
         MonitorKind::junk,
         [](MonitorInputs& in) {
             in.reclaimable = 250'000'000;
             in.snapshot.diskTotal = 1'000'000'000;
         },
         {"250 MB", "250M", "Run a scan to measure", 1, true}},
        {"junk, a hundredth of the disk",
         MonitorKind::junk,
         [](MonitorInputs& in) {
             in.reclaimable = 10'000'000;
             in.snapshot.diskTotal = 1'000'000'000;
             in.lastSmartScan = QDateTime(QDate(2026, 3, 1), QTime(10, 0), Qt::UTC);
         },
         {"10 MB", "10.0M", "Found 2 hr. ago", 0.08, true}},
        {"junk, nothing after a scan",
         MonitorKind::junk,
         [](MonitorInputs& in) { in.lastSmartScan = QDateTime(QDate(2026, 2, 28), QTime(12, 0), Qt::UTC); },
         {"Nothing found", kDash, "Found 1 day ago", 0, false}},
        {"junk without a disk total",
         MonitorKind::junk,
         [](MonitorInputs& in) { in.reclaimable = 5'000; },
         {"5 KB", "5.00K", "Run a scan to measure", 0, true}},
    };
    for (const auto& row : rows) {
        MonitorInputs inputs;
        row.fill(inputs);
        expectReading(monitorReading(row.kind, inputs), row.expected, row.what);
    }
}

TEST(MonitorReading, TintsSeriesAndScale)
{
    MonitorInputs inputs;
    inputs.cpuSeries = {0.1, 0.2};
    inputs.memorySeries = {0.3};
    inputs.storageSeries = {0.4, 0.5, 0.6};
    inputs.networkInSeries = {7, 8};
    inputs.networkScale = 2'500'000;

    EXPECT_EQ(monitorReading(MonitorKind::cpu, inputs).series, inputs.cpuSeries);
    EXPECT_EQ(monitorReading(MonitorKind::memory, inputs).series, inputs.memorySeries);
    EXPECT_EQ(monitorReading(MonitorKind::storage, inputs).series, inputs.storageSeries);
    const MonitorReading network = monitorReading(MonitorKind::network, inputs);
    EXPECT_EQ(network.series, inputs.networkInSeries);
    EXPECT_EQ(network.scale, 2'500'000);
    EXPECT_EQ(network.tint, PaletteRole::info);

    inputs.snapshot.batteryLevel = 0.15;
    EXPECT_EQ(monitorReading(MonitorKind::battery, inputs).tint, PaletteRole::danger);
    inputs.snapshot.batteryLevel = 0.2;
    EXPECT_EQ(monitorReading(MonitorKind::battery, inputs).tint, PaletteRole::accent);
    EXPECT_TRUE(monitorReading(MonitorKind::battery, inputs).series.empty());
}
