#include "PaintRecorder.h"
#include "paint/Palette.h"
#include "ui/monitor/RingGauge.h"
#include "ui/monitor/Sparkline.h"
#include "ui/theme/Motion.h"

#include <QPixmapCache>
#include <QTest>

#include "TransparentRender.h"

#include <gtest/gtest.h>

#include <limits>

using namespace harborlite;

TEST(RingGauge, SpanClampsTheFraction)
{
    const struct {
        double fraction;
        qreal degrees;
    } rows[] = {
        {-0.3, 0},
        {0, 0},
        {0.25, 90},
        {0.5, 180},
        {1, 360},
        {1.7, 360},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 360},
    };
    for (const auto& row : rows) {
        EXPECT_DOUBLE_EQ(RingGauge::spanDegrees(row.fraction), row.degrees) << row.fraction;
    }
}

TEST(RingGauge, QuarterArcRunsFromTwelveToThree)
{
    RingGauge ring(0.25, Palette::accent(), 8);
    Palette::setOwnAppearance(&ring, Appearance::light);
    ring.resize(62, 62);
    const QImage image = transparentRender(ring);
    // On the circle line (radius 27): the arc at two o'clock is opaque, the
    // track at eight o'clock only faint.
    const int arcAlpha = qAlpha(image.pixel(31 + 19, 31 - 19));
    const int trackAlpha = qAlpha(image.pixel(31 - 19, 31 + 19));
    EXPECT_GT(arcAlpha, 150);
    EXPECT_GT(trackAlpha, 10);
    EXPECT_LT(trackAlpha, 80);

    ring.setFraction(-0.3);
    EXPECT_EQ(ring.shownFraction(), 0);
    EXPECT_LT(qAlpha(transparentRender(ring).pixel(31 + 19, 31 - 19)), 80);
}

// The track is a picture kept by its look: a second gauge of one look (as a
// screen made anew shows) copies it and strokes only its arc, on a screen of
// ratio 1 or 2.
TEST(RingGauge, KeepsItsTrackAndStrokesOnlyTheArc)
{
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        QPixmapCache::clear();
        PaintRecorder::Counts counts;
        for (int visit = 0; visit < 2; ++visit) {
            RingGauge ring(0.25, Palette::accent(), 8);
            Palette::setOwnAppearance(&ring, Appearance::light);
            ring.resize(62, 62);
            PaintRecorder screen(ring.size(), ratio);
            ring.render(&screen);
            counts = screen.counts();
        }
        EXPECT_EQ(counts.shapes, 1);
        EXPECT_EQ(counts.copies, 1);
        EXPECT_EQ(counts.scaled, 0);
    }
}

TEST(Sparkline, NormalisedPoints)
{
    using Values = std::vector<double>;
    const struct {
        Values values;
        std::optional<double> scale;
        Values points;
    } rows[] = {
        {{0.2, 0.5, 1.4}, std::nullopt, {0.2, 0.5, 1}},
        {{-0.5, 0}, std::nullopt, {0, 0}},
        {{1'000'000, 2'000'000}, 4'000'000, {0.25, 0.5}},
        {{1'000'000, 2.5}, 0, {1'000'000, 2.5}},
        {{3, -1}, -2, {3, -1}},
        {{}, std::nullopt, {}},
        {{}, 5, {}},
        {{std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}, 10, {0, 1}},
        {{std::numeric_limits<double>::max()}, 1e-300, {1}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Sparkline::points(row.values, row.scale), row.points) << row.values.size();
    }
}

TEST(Sparkline, PathsSpanTheRectangle)
{
    const QSizeF size(100, 20);
    EXPECT_TRUE(Sparkline::path({}, size, false).isEmpty());
    EXPECT_TRUE(Sparkline::path({0.5}, size, true).isEmpty());

    const QPainterPath line = Sparkline::path({0.25, 1}, size, false);
    ASSERT_EQ(line.elementCount(), 2);
    EXPECT_EQ(QPointF(line.elementAt(0)), QPointF(0, 15));
    EXPECT_EQ(QPointF(line.elementAt(1)), QPointF(100, 0));

    const QPainterPath area = Sparkline::path({0.5, 1, 0.5}, size, true);
    const QList<QPointF> expected = {{0, 20}, {0, 10}, {50, 0}, {100, 10}, {100, 20}, {0, 20}};
    ASSERT_EQ(area.elementCount(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(QPointF(area.elementAt(i)), expected[i]) << i;
    }
}

TEST(Sparkline, FewerThanTwoValuesDrawTheBaseline)
{
    Sparkline sparkline(Palette::accent(), true, 1.8);
    Palette::setOwnAppearance(&sparkline, Appearance::light);
    sparkline.resize(44, 20);
    for (const std::vector<double>& values : {std::vector<double>{}, std::vector<double>{0.9}}) {
        sparkline.setValues(values, std::nullopt);
        const QImage image = transparentRender(sparkline);
        EXPECT_GT(qAlpha(image.pixel(22, 19)), 0);
        EXPECT_LT(qAlpha(image.pixel(22, 19)), 80);
        EXPECT_EQ(qAlpha(image.pixel(22, 18)), 0);
    }
    sparkline.setValues({1, 1}, std::nullopt);
    const QImage full = transparentRender(sparkline);
    EXPECT_GT(qAlpha(full.pixel(22, 0)), 150);
    EXPECT_GT(qAlpha(full.pixel(22, 10)), 0);
}

TEST(RingGauge, EasesToANewFractionUnlessMotionIsReduced)
{
    Motion::setReduceMotion(false);
    RingGauge ring(0.2, Palette::accent(), 8);
    ring.resize(62, 62);
    ring.show();
    ring.setFraction(0.8);
    EXPECT_EQ(ring.fraction(), 0.8);
    EXPECT_LT(ring.shownFraction(), 0.8);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ring.shownFraction() == 0.8; }));

    Motion::setReduceMotion(true);
    ring.setFraction(1.7);
    EXPECT_EQ(ring.shownFraction(), 1);
    Motion::setReduceMotion(false);
}
