#include "ui/components/AuroraBackground.h"
#include "PaintRecorder.h"
#include "support/ImageDifference.h"
#include "ui/theme/Motion.h"

#include <QApplication>

#include <gtest/gtest.h>

using namespace harborlite;

TEST(AuroraBackground, OrbOpacitiesAreDimmedInDark)
{
    const qreal light[] = {1.0, 0.75, 0.85, 0.40};
    const qreal dark[] = {0.42, 0.315, 0.357, 0.168};
    for (size_t index = 0; index < 4; ++index) {
        const AuroraOrb& orb = AuroraBackground::orbs()[index];
        EXPECT_NEAR(AuroraBackground::opacity(orb, Appearance::light), light[index], 1e-9);
        EXPECT_NEAR(AuroraBackground::opacity(orb, Appearance::dark), dark[index], 1e-9);
    }
}

TEST(AuroraBackground, OffsetsMoveFromRestToDrifted)
{
    const AuroraOrb& second = AuroraBackground::orbs()[1];
    EXPECT_EQ(AuroraBackground::offset(second, 0), QPointF(210, 30));
    EXPECT_EQ(AuroraBackground::offset(second, 1), QPointF(300, -70));
    EXPECT_EQ(AuroraBackground::offset(second, 0.5), QPointF(255, -20));
    EXPECT_DOUBLE_EQ(AuroraBackground::driftAt(0), 0);
    EXPECT_NEAR(AuroraBackground::driftAt(18), 1, 1e-9);
    EXPECT_NEAR(AuroraBackground::driftAt(36), 0, 1e-9);
    EXPECT_EQ(AuroraBackground::orbs()[0].diameter, 700);
    EXPECT_EQ(AuroraBackground::orbs()[3].diameter, 420);
}

TEST(AuroraBackground, MotionIsAllowedOnlyInAnActiveWindowWithoutReduceMotion)
{
    EXPECT_TRUE(AuroraBackground::motionAllowed(true, false));
    EXPECT_FALSE(AuroraBackground::motionAllowed(false, false));
    EXPECT_FALSE(AuroraBackground::motionAllowed(true, true));
    EXPECT_FALSE(AuroraBackground::motionAllowed(false, true));
}

TEST(AuroraBackground, DriftsOnlyWhileActiveAndSnapsBackToRest)
{
    Motion::setReduceMotion(false);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);

    AuroraBackground aurora;
    aurora.resize(400, 300);
    aurora.show();
    EXPECT_FALSE(aurora.isDrifting());
    EXPECT_DOUBLE_EQ(aurora.drift(), 0);

    QApplication::setActiveWindow(&aurora);
    EXPECT_TRUE(aurora.isDrifting());

    Motion::setReduceMotion(true);
    EXPECT_FALSE(aurora.isDrifting());
    EXPECT_DOUBLE_EQ(aurora.drift(), 0);
    Motion::setReduceMotion(false);
    EXPECT_TRUE(aurora.isDrifting());

    QApplication::setActiveWindow(&other);
    EXPECT_FALSE(aurora.isDrifting());
    Motion::setReduceMotion(std::nullopt);
}

TEST(AuroraBackground, ThePictureFollowsTheAppearanceAndTheDrift)
{
    AuroraBackground aurora;
    const QImage light = aurora.compose(QSize(800, 600), Appearance::light, 0);
    const QImage dark = aurora.compose(QSize(800, 600), Appearance::dark, 0);
    const QImage drifted = aurora.compose(QSize(800, 600), Appearance::light, 1);
    EXPECT_EQ(light.size(), QSize(800, 600));
    EXPECT_GT(light.pixelColor(400, 300).lightness(), dark.pixelColor(400, 300).lightness());
    EXPECT_NE(light.pixelColor(700, 330), drifted.pixelColor(700, 330));
    // The orbs are green over the canvas.
    const QColor middle = light.pixelColor(400, 300);
    EXPECT_GT(middle.green(), middle.red());
}

// On a screen of ratio 2 the backdrop is kept in the screen's pixels: what is
// shown is the backdrop composed at that ratio, copied one to one, and a
// second paint of the same look copies the very picture the first kept.
TEST(AuroraBackground, AtRatioTwoThePictureIsKeptInDevicePixelsAndCopied)
{
    const QSize size(320, 240);
    AuroraBackground aurora;
    Palette::setOwnAppearance(&aurora, Appearance::light);
    aurora.resize(size);

    QImage shown(size * 2, QImage::Format_RGB32);
    shown.setDevicePixelRatio(2);
    aurora.render(&shown);
    const QImage direct = aurora.compose(size, Appearance::light, 0, 2);
    ASSERT_EQ(direct.size(), size * 2);
    EXPECT_EQ(direct.devicePixelRatio(), 2);
    EXPECT_EQ(test::differenceOf(shown, direct).largest, 0);
    // The same backdrop as at ratio 1, at twice the pixels.
    const QImage single = aurora.compose(size, Appearance::light, 0);
    const QImage halved = direct.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LE(test::differenceOf(halved, single).largest, 3);

    PaintRecorder screen(size, 2);
    aurora.render(&screen);
    const QList<qint64> first = screen.pictures();
    screen.reset();
    aurora.render(&screen);
    EXPECT_GT(screen.counts().copies, 0);
    EXPECT_EQ(screen.counts().scaled, 0);
    EXPECT_EQ(screen.counts().shapes, 0);
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(screen.pictures(), first);
}
