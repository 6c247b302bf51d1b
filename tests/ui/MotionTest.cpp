#include "ui/theme/Motion.h"

#include <QWidget>

#include <gtest/gtest.h>

using namespace harborlite;

TEST(Motion, EasingCurvesStartAndEndInPlace)
{
    EXPECT_DOUBLE_EQ(Motion::easeInOut(0), 0);
    EXPECT_DOUBLE_EQ(Motion::easeInOut(1), 1);
    EXPECT_NEAR(Motion::easeInOut(0.5), 0.5, 1e-9);
    EXPECT_LT(Motion::easeInOut(0.1), 0.1); // slow start
    EXPECT_GT(Motion::easeOut(0.1), 0.1); // fast start
    EXPECT_DOUBLE_EQ(Motion::easeOut(-1), 0);
    EXPECT_DOUBLE_EQ(Motion::easeOut(2), 1);
    qreal last = 0;
    for (int step = 1; step <= 100; ++step) {
        const qreal now = Motion::easeInOut(step / 100.0);
        EXPECT_GE(now, last);
        last = now;
    }
}

TEST(Motion, AnAutoreversingAnimationGoesThereAndBack)
{
    const struct {
        qreal elapsed;
        qreal fraction;
    } rows[] = {{0, 0}, {9, 0.5}, {18, 1}, {27, 0.5}, {36, 0}, {54, 1}, {-3, 0}};
    for (const auto& row : rows) {
        EXPECT_NEAR(Motion::autoreversing(row.elapsed, 18), row.fraction, 1e-9) << row.elapsed;
    }
    EXPECT_DOUBLE_EQ(Motion::autoreversing(5, 0), 0);
}

namespace {

class MotionListener : public QWidget {
public:
    int changes = 0;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == Motion::changedEventType()) {
            ++changes;
            return true;
        }
        return QWidget::event(event);
    }
};

} // namespace

TEST(Motion, TheApplicationsChoiceOverridesTheDesktopAndEveryWidgetHears)
{
    MotionListener listener;
    Motion::setReduceMotion(true);
    EXPECT_TRUE(Motion::reduceMotion());
    Motion::setReduceMotion(false);
    EXPECT_FALSE(Motion::reduceMotion());
    Motion::setReduceMotion(std::nullopt);
    EXPECT_EQ(Motion::reduceMotion(), Motion::systemReducesMotion());
    EXPECT_EQ(listener.changes, 3);
}
