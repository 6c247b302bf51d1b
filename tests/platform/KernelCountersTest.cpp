#include "platform/KernelCounters.h"
#include "platform/ProcessStat.h"

#include <gtest/gtest.h>

using namespace harborlite::platform;

namespace {

bool everyInterface(std::string_view)
{
    return true;
}

bool ethernetOnly(std::string_view name)
{
    return name.substr(0, 3) == "eth";
}

} // namespace

TEST(KernelCounters, ProcessorTicksFoldInterruptsIntoSystemAndWaitingIntoIdle)
{
    struct Row {
        const char* text;
        std::optional<ProcessorTicks> ticks;
    };
    const Row rows[] = {
        // user nice system idle iowait irq softirq steal guest guest_nice
        {"cpu  100 20 30 400 5 6 7 8 9 10\ncpu0 1 2 3 4\nintr 1 2 3\n", ProcessorTicks{100, 43, 405, 20}},
        // The last line of a file without a line feed still counts.
        {"cpu 1 2 3 4", ProcessorTicks{1, 3, 4, 2}},
        // Older kernels print only the first four fields.
        {"cpu 10 0 5 85\n", ProcessorTicks{10, 5, 85, 0}},
        {"cpu 10 0 5\n", std::nullopt},
        {"cpu0 10 0 5 85\n", std::nullopt},
        {"", std::nullopt},
        {"cpu 10 0 x 85\n", std::nullopt},
        // Beyond 64 bits is no reading at all, not a wrapped one.
        {"cpu 99999999999999999999 0 5 85\n", std::nullopt},
        // Sums that would pass 64 bits stop at the largest value.
        {"cpu 1 0 18446744073709551615 0 0 5 0\n", ProcessorTicks{1, 18446744073709551615ULL, 0, 0}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(parseProcessorTicks(row.text), row.ticks) << row.text;
    }
}

TEST(KernelCounters, MemoryInfoInBytesWithOldKernelFallback)
{
    const MemoryInfo info = parseMemoryInfo("MemTotal:       16000 kB\nMemFree:  1000 kB\nMemAvailable:   6000 kB\n"
                                            "SwapTotal: 2048 kB\nSwapFree: 1024 kB");
    EXPECT_EQ(info.total, 16000u * 1024);
    EXPECT_EQ(info.available, 6000u * 1024);
    EXPECT_EQ(info.swapTotal, 2048u * 1024);
    EXPECT_EQ(info.swapFree, 1024u * 1024);

    const MemoryInfo old = parseMemoryInfo("MemTotal: 100 kB\nMemFree: 10 kB\nBuffers: 5 kB\nCached: 20 kB\n");
    EXPECT_EQ(old.available, 35u * 1024);
    EXPECT_FALSE(old.swapTotal.has_value());

    const MemoryInfo broken = parseMemoryInfo("MemTotal: 99999999999999999999 kB\nMemAvailable:\ngarbage\n");
    EXPECT_FALSE(broken.total.has_value());
    EXPECT_FALSE(broken.available.has_value());
}

TEST(KernelCounters, MemoryStallIsTheTenSecondShareOfSomeTasksWaiting)
{
    EXPECT_EQ(parseMemoryStall("some avg10=12.50 avg60=1.00 avg300=0.00 total=123\n"
                               "full avg10=3.00 avg60=0.00 avg300=0.00 total=12\n"),
              0.125);
    EXPECT_EQ(parseMemoryStall("full avg10=3.00\n"), std::nullopt);
    EXPECT_EQ(parseMemoryStall("some avg10=nan avg60=0.00\n"), std::nullopt);
    EXPECT_EQ(parseMemoryStall("some avg10=250.00\n"), std::nullopt);
    EXPECT_EQ(parseMemoryStall(""), std::nullopt);
}

TEST(KernelCounters, LinkBytesSumTheChosenInterfaces)
{
    const char* text = "Inter-|   Receive                                                |  Transmit\n"
                       " face |bytes    packets errs drop fifo frame compressed multicast|bytes    packets errs drop "
                       "fifo colls carrier compressed\n"
                       "    lo: 5000000000 10 0 0 0 0 0 0 5000000000 10 0 0 0 0 0 0\n"
                       "  eth0: 10000000000 10 0 0 0 0 0 0 300 10 0 0 0 0 0 0\n"
                       "  eth1:12 1 0 0 0 0 0 0 7 1 0 0 0 0 0 0\n"
                       "  eth2: 12 1 0 0\n"
                       "  eth3: x 1 0 0 0 0 0 0 7 1 0 0 0 0 0 0";
    const std::optional<LinkBytes> ethernet = parseLinkBytes(text, ethernetOnly);
    ASSERT_TRUE(ethernet.has_value());
    EXPECT_EQ(ethernet->received, 10000000012u);
    EXPECT_EQ(ethernet->sent, 307u);
    EXPECT_EQ(parseLinkBytes(text, everyInterface)->received, 15000000012u);
    EXPECT_FALSE(parseLinkBytes("Inter-|   Receive\n", everyInterface).has_value());
}

TEST(KernelCounters, UptimeIsTheFirstNumber)
{
    EXPECT_EQ(parseUptime("12345.67 54321.00\n"), 12345.67);
    EXPECT_EQ(parseUptime("12.5"), 12.5);
    EXPECT_EQ(parseUptime("-3 4\n"), std::nullopt);
    EXPECT_EQ(parseUptime("inf 4\n"), std::nullopt);
    EXPECT_EQ(parseUptime(""), std::nullopt);
}

TEST(KernelCounters, ProcessStatCountsFieldsAfterTheLastParenthesis)
{
    const std::string text = "4242 (tricky) name) (x) S 1 4242 4242 0 -1 4194560 100 0 0 0 "
                             "250 75 0 0 20 0 1 0 987654 123456789 512 18446744073709551615";
    const std::optional<ProcessStat> stat = parseProcessStat(text);
    ASSERT_TRUE(stat.has_value());
    EXPECT_EQ(stat->command, "tricky) name) (x");
    EXPECT_EQ(stat->state, 'S');
    EXPECT_EQ(stat->userTicks, 250u);
    EXPECT_EQ(stat->systemTicks, 75u);
    EXPECT_EQ(stat->startTime, 987654u);
    EXPECT_EQ(stat->residentPages, 512u);

    EXPECT_FALSE(parseProcessStat("4242 (short) S 1 2 3").has_value());
    EXPECT_FALSE(parseProcessStat("no parentheses at all").has_value());
    EXPECT_FALSE(parseProcessStat("1 (a) S 1 1 1 0 -1 0 0 0 0 0 x 75 0 0 20 0 1 0 9 9 5 9").has_value());
}
