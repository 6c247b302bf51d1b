#include "paint/BrandMark.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

using namespace harborlite;

TEST(BrandMark, GeometryFollowsTheShorterSide)
{
    const struct {
        QRectF frame;
        qreal thickness;
        QRectF square;
        qreal lineWidth;
        qreal radius;
        QPointF dotFromCenter;
    } rows[] = {
        {{0, 0, 30, 20}, 0.24, {5, 0, 20, 20}, 4.8, 7.6, {6.5817930687617, -3.8}},
        {{0, 0, 17, 17}, 0.24, {0, 0, 17, 17}, 4.08, 6.46, {5.5945240884, -3.23}},
        {{0, 0, 62, 62}, 0.2, {0, 0, 62, 62}, 12.4, 24.8, {21.477430014, -12.4}},
    };
    for (const auto& row : rows) {
        const BrandMarkGeometry g = BrandMark::geometry(row.frame, row.thickness);
        EXPECT_EQ(g.square, row.square);
        EXPECT_NEAR(g.lineWidth, row.lineWidth, 1e-9);
        EXPECT_NEAR(g.radius, row.radius, 1e-9);
        EXPECT_NEAR(g.dotCenter.x() - g.center.x(), row.dotFromCenter.x(), 1e-6);
        EXPECT_NEAR(g.dotCenter.y() - g.center.y(), row.dotFromCenter.y(), 1e-6);
    }
}

TEST(BrandMark, DrawsTheRingWithAGapHoldingTheDot)
{
    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        BrandMark::paint(painter, QRectF(0, 0, 100, 100), 0.1, Qt::red);
    }
    const BrandMarkGeometry g = BrandMark::geometry(QRectF(0, 0, 100, 100), 0.1);
    const auto at = [&](qreal degreesClockwise) {
        const qreal radians = degreesClockwise * M_PI / 180;
        return image.pixelColor(static_cast<int>(g.center.x() + g.radius * std::cos(radians)),
                                static_cast<int>(g.center.y() + g.radius * std::sin(radians)));
    };
    EXPECT_EQ(at(90).red(), 255); // on the ring, 6 o'clock
    EXPECT_EQ(at(200).red(), 255); // on the ring, left of 9 o'clock
    EXPECT_EQ(at(330).red(), 255); // the dot
    // Between the ring's end cap and the dot the gap is empty.
    EXPECT_EQ(at(315).alpha(), 0);
    EXPECT_EQ(at(345).alpha(), 0);
    EXPECT_EQ(image.pixelColor(50, 50).alpha(), 0);
}

TEST(BrandMark, TheWidgetKeepsItsFieldsAndFixedSweep)
{
    BrandMark mark(0.24, Palette::accent());
    EXPECT_DOUBLE_EQ(mark.thickness(), 0.24);
    EXPECT_DOUBLE_EQ(mark.sweep(), 5.0 / 6.0);
    EXPECT_EQ(mark.tint().light, Palette::accent().light);
}
