#include "widgets/extension/SystemMonitorPresentation.h"
#include "widgets/extension/LabelledFigure.h"
#include "widgets/extension/MonitorProvider.h"

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

std::vector<QString> captions(const std::vector<RingFigure>& rings)
{
    std::vector<QString> made;
    for (const RingFigure& ring : rings) {
        made.push_back(ring.caption);
    }
    return made;
}

std::vector<QString> titles(const std::vector<LabelledValue>& figures)
{
    std::vector<QString> made;
    for (const LabelledValue& figure : figures) {
        made.push_back(figure.title);
    }
    return made;
}

const QString kDot = QString::fromUtf8(" \u00B7 ");

} // namespace

TEST(SystemMonitorPresentation, EveryFamilyButSmallAndLargeIsLaidOutAsMedium)
{
    EXPECT_EQ(layoutFor(WidgetFamily::systemSmall), SystemMonitorLayout::small);
    EXPECT_EQ(layoutFor(WidgetFamily::systemMedium), SystemMonitorLayout::medium);
    EXPECT_EQ(layoutFor(WidgetFamily::systemLarge), SystemMonitorLayout::large);
    EXPECT_EQ(layoutFor(WidgetFamily::systemExtraLarge), SystemMonitorLayout::medium);
}

TEST(SystemMonitorPresentation, ThePlaceholderInTheSmallSize)
{
    const auto p = SystemMonitorPresentation::of(WidgetFamily::systemSmall, MonitorProvider::placeholderSnapshot());
    ASSERT_EQ(p.rings.size(), 2u);
    EXPECT_EQ(p.rings[0], (RingFigure{0.22, PaletteRole::accent, QStringLiteral("CPU"), QStringLiteral("22%")}));
    EXPECT_NEAR(p.rings[1].fraction, 12.6 / 17.18, 1e-9);
    EXPECT_NEAR(p.rings[1].fraction, 0.7334, 1e-4);
    EXPECT_EQ(p.rings[1].tint, PaletteRole::accentDeep);
    EXPECT_EQ(p.rings[1].caption, QStringLiteral("RAM"));
    EXPECT_EQ(p.rings[1].value, QStringLiteral("73%"));
    // Titled with the free space, filled to the used share.
    ASSERT_EQ(p.bars.size(), 1u);
    EXPECT_EQ(p.bars[0].title, QStringLiteral("Free"));
    EXPECT_EQ(p.bars[0].detail, QStringLiteral("161G"));
    EXPECT_NEAR(p.bars[0].fraction, 333.0 / 494.0, 1e-9);
    EXPECT_NEAR(p.bars[0].fraction, 0.674, 1e-3);
    EXPECT_EQ(p.bars[0].tint, PaletteRole::accentBright);
    EXPECT_TRUE(p.figures.empty());
}

TEST(SystemMonitorPresentation, ThePlaceholderInTheMediumSize)
{
    for (const WidgetFamily family : {WidgetFamily::systemMedium, WidgetFamily::systemExtraLarge}) {
        const auto p = SystemMonitorPresentation::of(family, MonitorProvider::placeholderSnapshot());
        EXPECT_EQ(captions(p.rings), (std::vector<QString>{"CPU", "Memory", "Storage"}));
        EXPECT_EQ(p.rings[2], (RingFigure{333.0 / 494.0, PaletteRole::accentBright, "Storage", "67%"}));
        EXPECT_TRUE(p.bars.empty());
        EXPECT_EQ(p.figures,
                  (std::vector<LabelledValue>{
                      {"Down", "1.20M/s", PaletteRole::info},
                      {"Up", "88.0K/s", PaletteRole::info},
                      {"Free", "161G", PaletteRole::accentBright},
                  }));
    }
}

TEST(SystemMonitorPresentation, ThePlaceholderInTheLargeSize)
{
    const auto p = SystemMonitorPresentation::of(WidgetFamily::systemLarge, MonitorProvider::placeholderSnapshot());
    EXPECT_EQ(captions(p.rings), (std::vector<QString>{"CPU", "Memory", "Storage", "Battery"}));
    EXPECT_EQ(p.rings[3], (RingFigure{0.61, PaletteRole::accent, "Battery", "61%"}));
    ASSERT_EQ(p.bars.size(), 3u);
    EXPECT_EQ(p.bars[0], (BarFigure{"Storage", "161 GB free of 494 GB", 333.0 / 494.0, PaletteRole::accentBright}));
    EXPECT_EQ(p.bars[1].title, QStringLiteral("Memory"));
    EXPECT_EQ(p.bars[1].detail, QStringLiteral("12.6 GB of 17.18 GB"));
    EXPECT_EQ(p.bars[1].tint, PaletteRole::accentDeep);
    EXPECT_EQ(p.bars[2], (BarFigure{"CPU", "User 14%" + kDot + "System 8%", 0.22, PaletteRole::accent}));
    EXPECT_EQ(p.figures,
              (std::vector<LabelledValue>{
                  {"Download", "1.2 MB/s", PaletteRole::info},
                  {"Upload", "88 KB/s", PaletteRole::info},
                  {"Swap", "1.38 GB", PaletteRole::warning},
              }));
}

TEST(SystemMonitorPresentation, TheBatteryRingFollowsTheLevel)
{
    const struct {
        std::optional<double> level;
        std::size_t rings;
        PaletteRole tint;
    } rows[] = {
        {std::nullopt, 3, PaletteRole::accent}, {0.19, 4, PaletteRole::danger}, {0.2, 4, PaletteRole::accent},
        {0.0, 4, PaletteRole::danger},          {1.0, 4, PaletteRole::accent},
    };
    for (const auto& row : rows) {
        SystemSnapshot s = MonitorProvider::placeholderSnapshot();
        s.batteryLevel = row.level;
        const auto large = SystemMonitorPresentation::of(WidgetFamily::systemLarge, s);
        ASSERT_EQ(large.rings.size(), row.rings);
        if (row.level) {
            EXPECT_EQ(large.rings.back().tint, row.tint) << *row.level;
            EXPECT_DOUBLE_EQ(large.rings.back().fraction, *row.level);
        }
        // Small and medium never show the battery.
        for (const WidgetFamily family : {WidgetFamily::systemSmall, WidgetFamily::systemMedium}) {
            for (const RingFigure& ring : SystemMonitorPresentation::of(family, s).rings) {
                EXPECT_NE(ring.caption, QStringLiteral("Battery"));
            }
        }
    }
}

TEST(SystemMonitorPresentation, WithoutSwapTheBottomRowShowsOnlyTheTraffic)
{
    for (const qint64 swap : {qint64(0), qint64(-5)}) {
        SystemSnapshot s = MonitorProvider::placeholderSnapshot();
        s.swapUsed = swap;
        EXPECT_EQ(titles(SystemMonitorPresentation::of(WidgetFamily::systemLarge, s).figures),
                  (std::vector<QString>{"Download", "Upload"}));
    }
    SystemSnapshot one = MonitorProvider::placeholderSnapshot();
    one.swapUsed = 1;
    EXPECT_EQ(titles(SystemMonitorPresentation::of(WidgetFamily::systemLarge, one).figures).back(),
              QStringLiteral("Swap"));
}

TEST(SystemMonitorPresentation, ZeroTotalsGiveZeroFractionsAndZeroTexts)
{
    const SystemSnapshot empty;
    const auto large = SystemMonitorPresentation::of(WidgetFamily::systemLarge, empty);
    ASSERT_EQ(large.rings.size(), 3u);
    for (const RingFigure& ring : large.rings) {
        EXPECT_EQ(ring.fraction, 0);
        EXPECT_EQ(ring.value, QStringLiteral("0%"));
    }
    EXPECT_EQ(large.bars[0].detail, QStringLiteral("0 KB free of 0 KB"));
    EXPECT_EQ(large.bars[1].detail, QStringLiteral("0 KB of 0 KB"));
    EXPECT_EQ(large.bars[2].detail, "User 0%" + kDot + "System 0%");
    EXPECT_EQ(large.figures[0].value, QStringLiteral("0 KB/s"));
    const auto small = SystemMonitorPresentation::of(WidgetFamily::systemSmall, empty);
    EXPECT_EQ(small.bars[0].detail, QStringLiteral("0"));
    EXPECT_EQ(small.bars[0].fraction, 0);
    const auto medium = SystemMonitorPresentation::of(WidgetFamily::systemMedium, empty);
    EXPECT_EQ(medium.figures[0].value, QStringLiteral("0/s"));

    // Free space beyond the total is no negative use.
    SystemSnapshot odd;
    odd.diskTotal = 100;
    odd.diskFree = 250;
    odd.memoryTotal = 0;
    odd.memoryUsed = 50;
    const auto oddLarge = SystemMonitorPresentation::of(WidgetFamily::systemLarge, odd);
    EXPECT_EQ(oddLarge.rings[1].fraction, 0);
    EXPECT_EQ(oddLarge.rings[2].fraction, 0);
}

TEST(SystemMonitorPresentation, FigureTitlesShowInUpperCase)
{
    EXPECT_EQ(LabelledFigure::shownTitle(QStringLiteral("Down")), QStringLiteral("DOWN"));
    EXPECT_EQ(LabelledFigure::shownTitle(QStringLiteral("Download")), QStringLiteral("DOWNLOAD"));
    EXPECT_EQ(LabelledFigure::shownTitle(QStringLiteral("Swap")), QStringLiteral("SWAP"));
}
