#include "ui/components/GlassCompatButton.h"
#include "ui/components/PrimaryActionBar.h"
#include "ui/components/RoleLabel.h"
#include "ui/components/StatTile.h"

#include <QLayout>
#include <QTest>

#include "TransparentRender.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

using namespace harborlite;

TEST(PrimaryActionBar, TheButtonStatePerFlags)
{
    using State = PrimaryActionBar::ButtonState;
    EXPECT_EQ(PrimaryActionBar::buttonState(true, false), (State{true, false}));
    EXPECT_EQ(PrimaryActionBar::buttonState(false, false), (State{false, false}));
    EXPECT_EQ(PrimaryActionBar::buttonState(true, true), (State{false, true}));
    EXPECT_EQ(PrimaryActionBar::buttonState(false, true), (State{false, true}));
}

TEST(PrimaryActionBar, ABusyBarIgnoresClicksAndKeepsItsLabelWidth)
{
    int calls = 0;
    PrimaryActionBar bar(QStringLiteral("3 GB"), QStringLiteral("12 items"), QStringLiteral("Go"), true, false,
                         Palette::accent(), [&calls] { ++calls; });
    bar.resize(700, bar.sizeHint().height());
    bar.layout()->activate();
    GlassCompatButton* button = bar.button();
    EXPECT_DOUBLE_EQ(button->labelWidth(), 110);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_EQ(calls, 1);

    bar.setButtonState(true, true);
    EXPECT_TRUE(button->showsSpinner());
    EXPECT_DOUBLE_EQ(button->labelWidth(), 110);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_EQ(calls, 1);

    bar.setButtonState(false, false);
    EXPECT_FALSE(button->showsSpinner());
    EXPECT_FALSE(button->isEnabled());
    bar.setTitle(QStringLiteral("4 GB"));
    EXPECT_EQ(bar.titleLabel()->text(), QStringLiteral("4 GB"));
}

TEST(PrimaryActionBar, TheShadowFallsStraightDown)
{
    PrimaryActionBar bar(QStringLiteral("t"), QStringLiteral("d"), QStringLiteral("b"), true, false, Palette::accent(),
                         {});
    bar.resize(600, bar.sizeHint().height());
    const QRectF surface = bar.surfaceRect();
    EXPECT_DOUBLE_EQ(surface.left(), bar.width() - surface.right());
    EXPECT_GT(bar.height() - surface.bottom(), surface.top());
    EXPECT_DOUBLE_EQ(SoftShadow(18, 0.1).offsetY(), 7.2);
}

TEST(PrimaryActionBar, ALongDetailWrapsRatherThanBeingCut)
{
    PrimaryActionBar bar(QStringLiteral("2.2 MB selected"),
                         QStringLiteral("Items move to the Trash so you can put them back. Items already in the "
                                        "Trash are deleted for good."),
                         QStringLiteral("Clean"), true, false, Palette::accent(), {});
    bar.setShadowDrawnOutside(true);
    EXPECT_TRUE(bar.detailLabel()->wordWrap());
    ASSERT_TRUE(bar.hasHeightForWidth());
    EXPECT_GT(bar.heightForWidth(500), bar.heightForWidth(1100));
    bar.resize(500, bar.heightForWidth(500));
    bar.show();
    QCoreApplication::processEvents();
    // The whole detail fits in the label's rectangle.
    const QRect needed = bar.detailLabel()->fontMetrics().boundingRect(QRect(0, 0, bar.detailLabel()->width(), 1000),
                                                                       Qt::TextWordWrap, bar.detailLabel()->text());
    EXPECT_LE(needed.height(), bar.detailLabel()->height());
}

// A bar floating over the content cannot blur it; its veil lets no text
// behind it read through, dark or light, in either appearance.
TEST(PrimaryActionBar, NothingBehindAFloatingBarReadsThrough)
{
    for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
        SCOPED_TRACE(appearance == Appearance::dark ? "dark" : "light");
        PrimaryActionBar bar(QStringLiteral("2.2 MB selected"), QStringLiteral("d"), QStringLiteral("Clean"), true,
                             false, Palette::accent(), {});
        Palette::setOwnAppearance(&bar, appearance);
        bar.setShadowDrawnOutside(true);
        bar.resize(600, bar.sizeHint().height());
        const QPoint probe = bar.surfaceRect().toRect().topLeft() + QPoint(8, bar.height() / 2);
        const auto over = [&](Qt::GlobalColor behind) {
            QImage image(bar.size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(behind);
            bar.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
            return image.pixelColor(probe);
        };
        const QColor onBlack = over(Qt::black);
        const QColor onWhite = over(Qt::white);
        EXPECT_LE(std::abs(onBlack.red() - onWhite.red()), 6);
        EXPECT_LE(std::abs(onBlack.green() - onWhite.green()), 6);
        EXPECT_LE(std::abs(onBlack.blue() - onWhite.blue()), 6);
    }
}

TEST(StatTile, TheFillIsClampedWithASixWideStub)
{
    const struct {
        qreal width;
        double fraction;
        qreal fill;
    } rows[] = {
        {200, 0.5, 100}, {200, 0, 6},   {200, -0.3, 6}, {200, std::numeric_limits<double>::quiet_NaN(), 6},
        {200, 1.7, 200}, {200, 1, 200}, {4, 0.5, 6},    {0, 1, 6},
    };
    for (const auto& row : rows) {
        EXPECT_DOUBLE_EQ(StatTile::fillWidth(row.width, row.fraction), row.fill) << row.width << " " << row.fraction;
    }
}

TEST(StatTile, DrawsTheTrackAndTheFillInTheTint)
{
    StatTile tile(QStringLiteral("CPU"), QStringLiteral("42%"), QStringLiteral("8 cores"), 0.5, QStringLiteral("cpu"),
                  Palette::info());
    Palette::setOwnAppearance(&tile, Appearance::light);
    tile.resize(228, tile.sizeHint().height());
    const QRectF bar = tile.barRect();
    EXPECT_DOUBLE_EQ(bar.width(), 200);
    EXPECT_DOUBLE_EQ(bar.height(), 6);
    const QImage image = transparentRender(tile);
    const int y = static_cast<int>(bar.center().y());
    const QColor filled = image.pixelColor(static_cast<int>(bar.left() + 95), y);
    const QColor track = image.pixelColor(static_cast<int>(bar.left() + 150), y);
    const QColor info = Palette::info().light;
    EXPECT_NEAR(filled.blueF(), info.blueF(), 0.08);
    EXPECT_NEAR(track.redF(), Palette::hairline().light.redF(), 0.03);
    tile.setValue(QStringLiteral("43%"));
    EXPECT_EQ(tile.value(), QStringLiteral("43%"));
    EXPECT_EQ(tile.accessibleName(), QStringLiteral("CPU"));
}
