#include "ui/components/CapsuleChip.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/components/SwitchToggle.h"
#include "ui/theme/Motion.h"
#include "ui/theme/TypeStyle.h"

#include <QSignalSpy>
#include <QTest>

#include "TransparentRender.h"

#include <gtest/gtest.h>

using namespace harborlite;

namespace {

// Motion off for the test's lifetime, so slides land at once.
struct StillMotion {
    StillMotion() { Motion::setReduceMotion(true); }
    ~StillMotion() { Motion::setReduceMotion(std::nullopt); }
};

} // namespace

TEST(GlassCompatButton, ALeadingSymbolWidensTheLabelAndAloneMakesANarrowCapsule)
{
    GlassCompatButton plain(QStringLiteral("Choose"), false);
    GlassCompatButton marked(QStringLiteral("Choose"), false);
    marked.setSymbol(QStringLiteral("folder"));
    EXPECT_DOUBLE_EQ(marked.labelWidth() - plain.labelWidth(),
                     GlassCompatButton::kSymbolSide + GlassCompatButton::kSymbolGap);
    EXPECT_EQ(marked.accessibleName(), QString());
    EXPECT_EQ(marked.text(), QStringLiteral("Choose"));

    GlassCompatButton alone(QString(), false);
    alone.setSymbol(QStringLiteral("chevron.up"));
    EXPECT_DOUBLE_EQ(alone.labelWidth(), GlassCompatButton::kSymbolSide);
    EXPECT_EQ(alone.sizeHint().width(),
              static_cast<int>(GlassCompatButton::kSymbolSide + 2 * GlassCompatButton::kSymbolOnlyPadding
                               + 2 * GlassCompatButton::kFocusMargin));
    alone.setSymbol(std::nullopt);
    EXPECT_DOUBLE_EQ(alone.labelWidth(), 0);
}

TEST(GlassCompatButton, TheSymbolIsDrawnInTheLabelColour)
{
    GlassCompatButton button(QString(), true, Palette::danger());
    button.setSymbol(QStringLiteral("lock.fill"));
    button.resize(button.sizeHint());
    Palette::setOwnAppearance(&button, Appearance::light);
    const QImage image = transparentRender(button);
    int white = 0;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QColor pixel = image.pixelColor(x, y);
            white += pixel.redF() > 0.95 && pixel.greenF() > 0.95 && pixel.blueF() > 0.95 ? 1 : 0;
        }
    }
    EXPECT_GT(white, 10);
}

TEST(SwitchToggle, TrackSizesAndKnobTravel)
{
    EXPECT_EQ(SwitchToggle::trackSize(SwitchToggle::ControlSize::mini), QSizeF(26, 15));
    EXPECT_EQ(SwitchToggle::trackSize(SwitchToggle::ControlSize::small), QSizeF(32, 18));
    EXPECT_EQ(SwitchToggle::trackSize(SwitchToggle::ControlSize::regular), QSizeF(38, 22));
    const QRectF track(0, 0, 26, 15);
    const qreal radius = 7.5 - SwitchToggle::kKnobInset;
    EXPECT_DOUBLE_EQ(SwitchToggle::knobCenterX(track, 0), SwitchToggle::kKnobInset + radius);
    EXPECT_DOUBLE_EQ(SwitchToggle::knobCenterX(track, 1), 26 - SwitchToggle::kKnobInset - radius);
    EXPECT_DOUBLE_EQ(SwitchToggle::knobCenterX(track, 3), SwitchToggle::knobCenterX(track, 1));
}

// The switch reports what the user asked for and shows only what its owner sets.
TEST(SwitchToggle, AFlipAsksAndNeverMovesByItself)
{
    StillMotion still;
    SwitchToggle toggle(false);
    toggle.resize(toggle.sizeHint());
    QSignalSpy flips(&toggle, &SwitchToggle::flipped);
    QTest::mouseClick(&toggle, Qt::LeftButton, {}, toggle.rect().center());
    ASSERT_EQ(flips.size(), 1);
    EXPECT_TRUE(flips.at(0).at(0).toBool());
    EXPECT_FALSE(toggle.isOn());
    EXPECT_DOUBLE_EQ(toggle.knobPosition(), 0);

    toggle.setOn(true);
    EXPECT_TRUE(toggle.isOn());
    EXPECT_DOUBLE_EQ(toggle.knobPosition(), 1);
    toggle.setFocus();
    QTest::keyClick(&toggle, Qt::Key_Space);
    ASSERT_EQ(flips.size(), 2);
    EXPECT_FALSE(flips.at(1).at(0).toBool());
    EXPECT_TRUE(toggle.isOn());

    toggle.setEnabled(false);
    QTest::mouseClick(&toggle, Qt::LeftButton, {}, toggle.rect().center());
    EXPECT_EQ(flips.size(), 2);
}

TEST(SwitchToggle, TheLabelComesFirstNamesTheSwitchAndIsPartOfTheHitArea)
{
    StillMotion still;
    SwitchToggle toggle(true, SwitchToggle::ControlSize::small);
    const QSize bare = toggle.sizeHint();
    EXPECT_EQ(bare, QSize(32 + 4, 18 + 4));
    toggle.setLabel(SwitchToggle::Label{QStringLiteral("Menu bar monitor"), TypeStyle::font(12.5, QFont::DemiBold),
                                        QStringLiteral("Shows live readings"), TypeStyle::font(10.5, QFont::Normal)});
    EXPECT_EQ(toggle.accessibleName(), QStringLiteral("Menu bar monitor"));
    EXPECT_GT(toggle.sizeHint().width(), bare.width() + 60);
    toggle.resize(toggle.sizeHint());
    EXPECT_DOUBLE_EQ(toggle.trackRect().right(), toggle.width() - SwitchToggle::kFocusMargin);
    QSignalSpy flips(&toggle, &SwitchToggle::flipped);
    QTest::mouseClick(&toggle, Qt::LeftButton, {}, QPoint(8, toggle.height() / 2));
    ASSERT_EQ(flips.size(), 1);
    EXPECT_FALSE(flips.at(0).at(0).toBool());
}

TEST(SwitchToggle, OnFillsTheTrackWithTheTint)
{
    StillMotion still;
    for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
        SwitchToggle toggle(true, SwitchToggle::ControlSize::regular, Palette::danger());
        Palette::setOwnAppearance(&toggle, appearance);
        toggle.resize(toggle.sizeHint());
        const QRectF track = toggle.trackRect();
        // Inside the track, left of the knob.
        const QPoint probe(static_cast<int>(track.left() + 4), static_cast<int>(track.center().y()));
        const QColor on = transparentRender(toggle).pixelColor(probe);
        const QColor tint = Palette::danger().resolve(appearance);
        EXPECT_NEAR(on.redF(), tint.redF(), 0.03);
        EXPECT_NEAR(on.greenF(), tint.greenF(), 0.03);

        toggle.setOn(false);
        const QColor off = transparentRender(toggle).pixelColor(
            QPoint(static_cast<int>(track.right() - 4), static_cast<int>(track.center().y())));
        EXPECT_LT(off.alphaF(), 0.5);
    }
}

TEST(CapsuleChip, LooksPerSelection)
{
    EXPECT_EQ(CapsuleChip::look(true), (CapsuleChip::Look{true, std::nullopt, std::nullopt}));
    EXPECT_EQ(CapsuleChip::look(false), (CapsuleChip::Look{false, PaletteRole::hairline, PaletteRole::inkSecondary}));
}

TEST(CapsuleChip, SizesFollowTheMetrics)
{
    const CapsuleChip::Metrics small = CapsuleChip::Metrics::small();
    EXPECT_DOUBLE_EQ(small.symbolSize, 10);
    EXPECT_DOUBLE_EQ(small.titleSize, 11);
    EXPECT_DOUBLE_EQ(small.spacing, 5);
    EXPECT_DOUBLE_EQ(small.horizontalInset, 10);
    EXPECT_DOUBLE_EQ(small.verticalInset, 6);
    const CapsuleChip::Metrics regular = CapsuleChip::Metrics::regular();
    EXPECT_DOUBLE_EQ(regular.titleSize, 11.5);
    EXPECT_DOUBLE_EQ(regular.spacing, 6);
    EXPECT_DOUBLE_EQ(regular.horizontalInset, 13);
    EXPECT_DOUBLE_EQ(regular.verticalInset, 7);

    CapsuleChip bare(std::nullopt, QStringLiteral("CPU"), false);
    CapsuleChip marked(QStringLiteral("cpu"), QStringLiteral("CPU"), false);
    EXPECT_EQ(marked.sizeHint().width() - bare.sizeHint().width(), 15);
    EXPECT_EQ(marked.accessibleName(), QString());
    EXPECT_EQ(marked.text(), QStringLiteral("CPU"));
}

TEST(CapsuleChip, AClickLeavesTheSelectionToItsOwner)
{
    CapsuleChip chip(QStringLiteral("cpu"), QStringLiteral("CPU"), false);
    chip.resize(chip.sizeHint());
    QSignalSpy clicks(&chip, &QAbstractButton::clicked);
    QTest::mouseClick(&chip, Qt::LeftButton, {}, chip.rect().center());
    EXPECT_EQ(clicks.size(), 1);
    EXPECT_FALSE(chip.isSelected());
    chip.setSelected(true);
    QTest::mouseClick(&chip, Qt::LeftButton, {}, chip.rect().center());
    EXPECT_EQ(clicks.size(), 2);
    EXPECT_TRUE(chip.isSelected());
    // The capsule's rounded end is outside the hit area's corner.
    QTest::mouseClick(&chip, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(clicks.size(), 2);
}

TEST(CapsuleChip, SelectedIsTheGradientAndOtherwiseTheHoverFill)
{
    for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
        CapsuleChip chip(std::nullopt, QStringLiteral("W"), true);
        Palette::setOwnAppearance(&chip, appearance);
        chip.resize(chip.sizeHint());
        const QPoint probe(chip.width() - CapsuleChip::kFocusMargin - 6, chip.height() / 2);
        const QColor selected = transparentRender(chip).pixelColor(probe);
        EXPECT_NEAR(selected.alphaF(), 1, 0.01);
        EXPECT_GT(selected.greenF(), selected.redF());

        chip.setSelected(false);
        const QColor plain = transparentRender(chip).pixelColor(probe);
        EXPECT_NEAR(plain.alphaF(), Palette::hoverFill().resolve(appearance).alphaF(), 0.03);
    }
}
