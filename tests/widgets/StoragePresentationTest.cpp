#include "widgets/extension/StoragePresentation.h"
#include "widgets/extension/MonitorProvider.h"

#include <gtest/gtest.h>

using namespace harborlite;

TEST(StoragePresentation, TheFreeAmountSplitsIntoNumberAndUnit)
{
    const struct {
        qint64 free;
        const char* number;
        const char* unit;
    } rows[] = {
        {0, "0.00", "B"},
        {-20, "0.00", "B"},
        {999, "999", "B"},
        {1'000, "1.00", "KB"},
        {45'600'000, "45.6", "MB"},
        {161'000'000'000, "161", "GB"},
        {2'500'000'000'000, "2.50", "TB"},
    };
    for (const auto& row : rows) {
        SystemSnapshot s;
        s.diskFree = row.free;
        s.diskTotal = 494'000'000'000;
        const StoragePresentation p = StoragePresentation::of(WidgetFamily::systemSmall, s);
        EXPECT_EQ(p.number, QLatin1String(row.number)) << row.free;
        EXPECT_EQ(p.unit, QLatin1String(row.unit)) << row.free;
    }
}

TEST(StoragePresentation, OnlyTheFiguresSizesDependOnTheFamily)
{
    const SystemSnapshot s = MonitorProvider::placeholderSnapshot();
    const StoragePresentation small = StoragePresentation::of(WidgetFamily::systemSmall, s);
    const StoragePresentation medium = StoragePresentation::of(WidgetFamily::systemMedium, s);
    const StoragePresentation large = StoragePresentation::of(WidgetFamily::systemLarge, s);
    EXPECT_EQ(small.numberPixels, 30);
    EXPECT_EQ(small.unitPixels, 14);
    EXPECT_EQ(medium.numberPixels, 40);
    EXPECT_EQ(medium.unitPixels, 18);
    EXPECT_EQ(large.numberPixels, 40);
    for (const StoragePresentation* p : {&small, &medium, &large}) {
        EXPECT_EQ(p->number, QStringLiteral("161"));
        EXPECT_EQ(p->unit, QStringLiteral("GB"));
        EXPECT_EQ(p->total, QStringLiteral("free of 494 GB"));
        EXPECT_EQ(p->bar, (BarFigure{"Used", "67%", 333.0 / 494.0, PaletteRole::accentBright}));
    }
}

TEST(StoragePresentation, MissingOrOddTotalsGiveNoUse)
{
    SystemSnapshot noTotal;
    noTotal.diskFree = 5'000;
    const StoragePresentation none = StoragePresentation::of(WidgetFamily::systemMedium, noTotal);
    EXPECT_EQ(none.total, QStringLiteral("free of 0 KB"));
    EXPECT_EQ(none.bar.fraction, 0);
    EXPECT_EQ(none.bar.detail, QStringLiteral("0%"));

    SystemSnapshot moreFree;
    moreFree.diskFree = 600;
    moreFree.diskTotal = 500;
    EXPECT_EQ(StoragePresentation::of(WidgetFamily::systemSmall, moreFree).bar.fraction, 0);

    SystemSnapshot negative;
    negative.diskTotal = -10;
    EXPECT_EQ(StoragePresentation::of(WidgetFamily::systemSmall, negative).total, QStringLiteral("free of 0 KB"));
}
