#include "ui/components/ProgressRing.h"
#include "paint/Palette.h"
#include "support/EventWait.h"
#include "support/ImageDifference.h"
#include "ui/components/TriStateToggle.h"
#include "ui/theme/Contrast.h"
#include "ui/theme/Motion.h"

#include <QPixmapCache>
#include <QScreen>
#include <QTest>

#include "TransparentRender.h"

#include <gtest/gtest.h>

using namespace harborlite;

TEST(ProgressRing, ArcPerModeAndTime)
{
    const struct {
        double progress;
        bool indeterminate;
        bool reduceMotion;
        qreal elapsed;
        RingArc arc;
    } rows[] = {
        {0.4, false, false, 0, {0.4, -90}},
        {0, false, false, 0, {0, -90}},
        {-0.5, false, false, 0, {0, -90}},
        {1.4, false, true, 3, {1.4, -90}},
        {0.4, true, true, 5, {0.72, 0}},
        {0.4, true, false, 0, {0.06, 0}},
        {0.4, true, false, 0.85, {0.72, 360 * (0.85 / 1.35)}},
        {0.4, true, false, 1.7, {0.06, 360 * (0.35 / 1.35)}},
    };
    for (const auto& row : rows) {
        const RingArc arc = ProgressRing::arc(row.progress, row.indeterminate, row.reduceMotion, row.elapsed);
        EXPECT_NEAR(arc.length, row.arc.length, 1e-9) << row.elapsed;
        EXPECT_NEAR(arc.startDegrees, row.arc.startDegrees, 1e-9) << row.elapsed;
    }
    EXPECT_DOUBLE_EQ(ProgressRing::glowRadius(18), 7.2);
    EXPECT_DOUBLE_EQ(ProgressRing::glowRadius(12), 4.8);
}

TEST(ProgressRing, MotionFollowsModeAndReduceMotion)
{
    Motion::setReduceMotion(false);
    ProgressRing ring(0.3, 12, true);
    ring.resize(100, 100);
    EXPECT_FALSE(ring.isMoving());
    ring.show();
    EXPECT_TRUE(ring.isMoving());

    Motion::setReduceMotion(true);
    EXPECT_FALSE(ring.isMoving());
    EXPECT_EQ(ring.currentArc(), (RingArc{0.72, 0}));
    Motion::setReduceMotion(false);
    EXPECT_TRUE(ring.isMoving());

    ring.setIndeterminate(false);
    EXPECT_FALSE(ring.isMoving());
    EXPECT_EQ(ring.currentArc(), (RingArc{0.3, -90}));
    ring.setIndeterminate(true);
    EXPECT_TRUE(ring.isMoving());
    ring.hide();
    EXPECT_FALSE(ring.isMoving());
    Motion::setReduceMotion(std::nullopt);
}

TEST(ProgressRing, WhileTheWorkGoesOnAGlintRunsRoundAStillProgress)
{
    const struct {
        qreal elapsed;
        qreal degrees;
    } rows[] = {{0, 0}, {0.4, 90}, {0.8, 180}, {1.6, 0}, {2.0, 90}, {-1, 0}};
    for (const auto& row : rows) {
        EXPECT_NEAR(ProgressRing::glintDegrees(row.elapsed), row.degrees, 1e-9) << row.elapsed;
    }

    Motion::setReduceMotion(false);
    ProgressRing ring(0.02, 18, false);
    ring.resize(220, 220);
    ring.show();
    EXPECT_FALSE(ring.isMoving());
    ring.setWorking(true);
    EXPECT_TRUE(ring.isWorking());
    EXPECT_TRUE(ring.isMoving());
    // The arc itself keeps to the progress.
    EXPECT_EQ(ring.currentArc(), (RingArc{0.02, -90}));
    // Each frame repaints, so the picture changes although the progress does not.
    int painted = 0;
    struct PaintCounter : QObject {
        int* count;
        explicit PaintCounter(int* counter)
            : count(counter)
        {
        }
        bool eventFilter(QObject*, QEvent* event) override
        {
            *count += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter(&painted);
    ring.installEventFilter(&counter);
    test::waitFor([&] { return painted >= 3; });
    EXPECT_GE(painted, 3);

    Motion::setReduceMotion(true);
    EXPECT_FALSE(ring.isMoving());
    Motion::setReduceMotion(false);
    EXPECT_TRUE(ring.isMoving());
    ring.setWorking(false);
    EXPECT_FALSE(ring.isMoving());
    Motion::setReduceMotion(std::nullopt);
}

TEST(ProgressRing, AZeroArcLeavesTheTrackAlone)
{
    ProgressRing ring(0, 10, false);
    Palette::setOwnAppearance(&ring, Appearance::light);
    const int side = static_cast<int>(60 + 2 * ProgressRing::overhang(10));
    ring.resize(side, side);
    const QImage empty = transparentRender(ring);
    ring.setProgress(0.25);
    const QImage quarter = transparentRender(ring);
    // Twelve o'clock on the circle: the track only at 0, the arc's start at 0.25.
    const QPoint top(side / 2 + 3, static_cast<int>(ProgressRing::overhang(10)));
    EXPECT_LT(empty.pixelColor(top).alphaF(), 0.3);
    EXPECT_GT(quarter.pixelColor(top).alphaF(), 0.9);
    // Nine o'clock stays track in both.
    const QPoint left(static_cast<int>(ProgressRing::overhang(10)), side / 2);
    EXPECT_LT(quarter.pixelColor(left).alphaF(), 0.3);
}

TEST(TriStateToggle, LookPerState)
{
    using Look = TriStateToggle::Look;
    using Mark = TriStateToggle::Mark;
    EXPECT_EQ(TriStateToggle::look(TriStateToggle::State::none),
              (Look{PaletteRole::card, PaletteRole::hairline, Mark::none}));
    EXPECT_EQ(TriStateToggle::look(TriStateToggle::State::partial),
              (Look{PaletteRole::accent, PaletteRole::accent, Mark::bar}));
    EXPECT_EQ(TriStateToggle::look(TriStateToggle::State::all),
              (Look{PaletteRole::accent, PaletteRole::accent, Mark::checkmark}));
}

TEST(TriStateToggle, AnEmptyBoxStaysVisibleOnADarkInnerCard)
{
    using State = TriStateToggle::State;
    EXPECT_EQ(TriStateToggle::edgeColor(State::none, Appearance::light), Palette::hairline().light);
    EXPECT_EQ(TriStateToggle::edgeColor(State::none, Appearance::dark), Palette::inkTertiary().dark);
    EXPECT_EQ(TriStateToggle::edgeColor(State::all, Appearance::dark), Palette::accent().dark);
    // An inner card in the dark: its fill over the dark canvas.
    const QColor card = Palette::innerFill().dark;
    const QColor canvas = Palette::canvas().dark;
    const QColor behind = QColor::fromRgbF(card.redF() * card.alphaF() + canvas.redF() * (1 - card.alphaF()),
                                           card.greenF() * card.alphaF() + canvas.greenF() * (1 - card.alphaF()),
                                           card.blueF() * card.alphaF() + canvas.blueF() * (1 - card.alphaF()));
    EXPECT_LT(Contrast::ratio(Palette::hairline().dark, behind), 1.5);
    EXPECT_GE(Contrast::ratio(TriStateToggle::edgeColor(State::none, Appearance::dark), behind), 3.0);
}

TEST(TriStateToggle, AClickAnywhereCallsOnceAndLeavesTheState)
{
    int calls = 0;
    TriStateToggle toggle(TriStateToggle::State::partial, QStringLiteral("Select group"), [&calls] { ++calls; });
    EXPECT_EQ(toggle.size(), QSize(17, 17));
    for (const QPoint point : {QPoint(0, 0), QPoint(16, 16), QPoint(8, 8)}) {
        QTest::mouseClick(&toggle, Qt::LeftButton, {}, point);
    }
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(toggle.state(), TriStateToggle::State::partial);
    EXPECT_EQ(toggle.accessibleName(), QStringLiteral("Select group"));
    toggle.setFocus();
    QTest::keyClick(&toggle, Qt::Key_Space);
    EXPECT_EQ(calls, 4);
}

TEST(TriStateToggle, BoxColoursInBothAppearances)
{
    for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
        TriStateToggle none(TriStateToggle::State::none, QString(), {});
        TriStateToggle all(TriStateToggle::State::all, QString(), {});
        Palette::setOwnAppearance(&none, appearance);
        Palette::setOwnAppearance(&all, appearance);
        const QImage noneImage = transparentRender(none);
        const QImage allImage = transparentRender(all);
        EXPECT_EQ(noneImage.pixelColor(4, 8).rgb(), Palette::card().resolve(appearance).rgb());
        EXPECT_EQ(allImage.pixelColor(3, 13).rgb(), Palette::accent().resolve(appearance).rgb());
        // The tick is white.
        bool white = false;
        for (int x = 4; x < 13; ++x) {
            for (int y = 4; y < 13; ++y) {
                white = white || allImage.pixelColor(x, y).lightness() > 235;
            }
        }
        EXPECT_TRUE(white);
    }
}

// A ring at rest is kept by its look: a new ring of that look (a screen made
// anew) shows the first one's picture, and a new progress or appearance is a
// new picture.
TEST(ProgressRing, ARingAtRestIsKeptByItsLook)
{
    QPixmapCache::clear();
    const int side = static_cast<int>(120 + 2 * ProgressRing::overhang(12));
    const auto render = [side](double progress, Appearance appearance) {
        ProgressRing ring(progress, 12, false);
        Palette::setOwnAppearance(&ring, appearance);
        ring.resize(side, side);
        EXPECT_FALSE(ring.isMoving());
        return transparentRender(ring);
    };
    const QImage first = render(0.6, Appearance::light);
    EXPECT_EQ(render(0.6, Appearance::light), first);
    EXPECT_NE(render(0.7, Appearance::light), first);
    EXPECT_NE(render(0.6, Appearance::dark), first);
    EXPECT_EQ(render(0.6, Appearance::light), first);
}

// While the glint runs round a progress that holds still, the track and arc
// are kept as one picture: a progress that moves on draws the arc anew.
TEST(ProgressRing, AMovingRingFollowsItsProgress)
{
    Motion::setReduceMotion(false);
    ProgressRing ring(0.1, 10, false);
    Palette::setOwnAppearance(&ring, Appearance::light);
    const int side = static_cast<int>(60 + 2 * ProgressRing::overhang(10));
    ring.resize(side, side);
    ring.show();
    ring.setWorking(true);
    ASSERT_TRUE(ring.isMoving());
    // Just before six o'clock, where the glint, starting at the top, comes
    // only after most of a second.
    const QPoint low(side / 2 + 5, side / 2 + 29);
    EXPECT_LT(transparentRender(ring).pixelColor(low).alphaF(), 0.5);
    ring.setProgress(0.5);
    test::waitFor([&] { return ring.currentArc().length >= 0.5; });
    // Drawn directly as the arc moved on, then from its picture.
    EXPECT_GT(transparentRender(ring).pixelColor(low).alphaF(), 0.9);
    EXPECT_GT(transparentRender(ring).pixelColor(low).alphaF(), 0.9);
    ring.setWorking(false);
    Motion::setReduceMotion(std::nullopt);
}

// A frame while the work goes on repaints only where the glint was and is,
// and where the arc grew. What the window shows after many such frames is
// what a repaint of the whole ring gives: no glint left behind, and where the
// arc grew, its edge as the longer arc's within a fraction of a pixel (an
// arc's curve is split where its length says, so its outline moves by less
// than a pixel with its length).
TEST(ProgressRing, FramesRepaintOnlyWhatMovedAndLeaveNothingBehind)
{
    class CountedRing : public ProgressRing {
    public:
        using ProgressRing::ProgressRing;
        int partial = 0;
        int whole = 0;
        bool justPainted = false;

    protected:
        void paintEvent(QPaintEvent* event) override
        {
            ProgressRing::paintEvent(event);
            ++(event->region().boundingRect() == rect() ? whole : partial);
            justPainted = event->region().boundingRect() != rect();
        }
    };

    Motion::setReduceMotion(false);
    QWidget window;
    window.setAutoFillBackground(true);
    window.setStyleSheet(QStringLiteral("background: rgb(40, 70, 60)"));
    auto* ring = new CountedRing(0.3, 14, false, &window);
    Palette::setOwnAppearance(ring, Appearance::light);
    const int side = static_cast<int>(160 + 2 * ProgressRing::overhang(14));
    ring->setGeometry(10, 10, side, side);
    window.resize(side + 20, side + 20);
    window.show();
    ring->setWorking(true);
    ASSERT_TRUE(ring->isMoving());

    // The first event after a frame's paint, before the glint can move on:
    // what the window shows, then the ring repainted whole.
    struct AfterAFrame : QObject {
        CountedRing* ring;
        QWidget* window;
        QImage shown;
        QImage redrawn;
        QImage shot() const
        {
            return window->screen()->grabWindow(window->winId(), 10, 10, ring->width(), ring->height()).toImage();
        }
        bool eventFilter(QObject*, QEvent*) override
        {
            if (ring->justPainted && shown.isNull()) {
                shown = shot();
                ring->repaint();
                redrawn = shot();
            }
            return false;
        }
    };
    const auto framedAndRedrawn = [&](int frames) {
        const int until = ring->partial + frames;
        test::waitFor([&] { return ring->currentArc().length == ring->progress() && ring->partial >= until; });
        AfterAFrame after;
        after.ring = ring;
        after.window = &window;
        ring->justPainted = false;
        qApp->installEventFilter(&after);
        test::waitFor([&] { return !after.shown.isNull(); });
        qApp->removeEventFilter(&after);
        return test::differenceOf(after.shown, after.redrawn);
    };

    // The glint runs round a progress that holds still.
    const test::ImageDifference still = framedAndRedrawn(40);
    EXPECT_LE(still.largest, 2);
    EXPECT_GT(ring->partial, 3 * ring->whole);

    ring->setProgress(0.7);
    const test::ImageDifference grown = framedAndRedrawn(10);
    // How far the outline moves depends on how the frames split the growth:
    // under 20 levels on about 120 to 180 edge pixels here; a glint left
    // behind differs by over 60.
    EXPECT_LE(grown.largest, 32);
    EXPECT_LE(grown.pixelsOverRounding, side * side / 60);
    ring->setWorking(false);
    Motion::setReduceMotion(std::nullopt);
}
