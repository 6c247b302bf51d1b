#include "paint/FittedText.h"

#include <gtest/gtest.h>

using namespace harborlite;

TEST(FittedText, ShrinksToTheMinimumScaleThenCuts)
{
    const struct {
        qreal textWidth;
        qreal width;
        qreal minimumScale;
        qreal scale;
    } rows[] = {
        // A text that fits, or has no width, keeps its size.
        {80, 100, 0.7, 1},
        {40, 42, 0.6, 1},
        {42, 42, 0.6, 1},
        {0, 0, 0.7, 1},
        {0, 0, 0.6, 1},
        // One too wide shrinks just enough, down to the minimum.
        {100, 80, 0.7, 0.8},
        {60, 42, 0.6, 0.7},
        {200, 80, 0.7, 0.7},
        {84, 42, 0.6, 0.6},
        {200, 42, 0.6, 0.6},
    };
    for (const auto& row : rows) {
        EXPECT_DOUBLE_EQ(FittedText::scale(row.textWidth, row.width, row.minimumScale), row.scale)
            << row.textWidth << " in " << row.width << " down to " << row.minimumScale;
    }
}
