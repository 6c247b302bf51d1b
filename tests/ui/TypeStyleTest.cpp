#include "ui/theme/TypeStyle.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <gtest/gtest.h>

using namespace harborlite;

TEST(TypeStyle, PixelsBecomePointsByTheLogicalDpi)
{
    EXPECT_DOUBLE_EQ(TypeStyle::pointSize(13, 96), 9.75);
    EXPECT_DOUBLE_EQ(TypeStyle::pointSize(12.5, 96), 9.375);
    EXPECT_DOUBLE_EQ(TypeStyle::pointSize(13, 72), 13);
    EXPECT_DOUBLE_EQ(TypeStyle::pointSize(13, 0), 9.75);
}

// Sizes are pixels at 96 DPI whatever the screen says: a desktop text scale
// raises the logical DPI and must enlarge the texts, not be cancelled out.
TEST(TypeStyle, TheSixStylesHaveTheirSizesAndWeightsAtTheStandardDensity)
{
    const struct {
        const char* name;
        QFont font;
        qreal pixels;
        QFont::Weight weight;
    } rows[] = {
        {"heroNumber", TypeStyle::heroNumber(), 64, QFont::Bold},
        {"screenTitle", TypeStyle::screenTitle(), 30, QFont::Bold},
        {"sectionTitle", TypeStyle::sectionTitle(), 17, QFont::DemiBold},
        {"rowTitle", TypeStyle::rowTitle(), 13, QFont::Medium},
        {"rowDetail", TypeStyle::rowDetail(), 11, QFont::Normal},
        {"pill", TypeStyle::pill(), 12, QFont::DemiBold},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(row.font.pointSizeF() * 96 / 72, row.pixels, 1e-6);
        EXPECT_EQ(row.font.weight(), row.weight);
        EXPECT_EQ(row.font.family(), TypeStyle::family());
    }
}

TEST(TypeStyle, InterIsUsedWhenInstalled)
{
    if (QFontDatabase::hasFamily(QStringLiteral("Inter"))) {
        EXPECT_EQ(TypeStyle::family(), QStringLiteral("Inter"));
    } else {
        EXPECT_EQ(TypeStyle::family(), QGuiApplication::font().family());
    }
}
