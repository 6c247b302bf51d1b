#include "ui/paintcache/SurfaceCache.h"
#include "PaintRecorder.h"
#include "support/ImageDifference.h"
#include "ui/theme/GlassSurface.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/SoftShadow.h"

#include <QPainter>
#include <QPixmapCache>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace harborlite;
using test::differenceOf;
using test::expectSameLook;

namespace {

// A translucent rounded surface with a thin stroke: the kind of drawing the
// cache stands in for.
void paintSurface(QPainter& painter, const QRectF& rect, qreal radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = Shapes::roundedRect(rect, radius);
    painter.fillPath(shape, QColor(255, 255, 255, 90));
    painter.fillPath(shape, QColor(30, 160, 110, 60));
    Shapes::strokeInside(painter, rect, radius, QColor(0, 0, 0, 70), 0.8);
    painter.restore();
}

// A child that draws the surface over its whole rectangle, from the cache or directly.
class SurfaceChild : public QWidget {
public:
    SurfaceChild(bool cached, QWidget* parent)
        : QWidget(parent)
        , cached_(cached)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        if (cached_) {
            SurfaceCache::draw(painter, QRectF(rect()), 14, QStringLiteral("test-child"), paintSurface);
        } else {
            paintSurface(painter, QRectF(rect()), 14);
        }
    }

private:
    bool cached_;
};

} // namespace

// Short and tall, on whole pixels or not, plain or faded: the cached drawing
// gives the direct drawing's look. Where the cache can stand in, a surface
// drawn again is not painted again: it comes from the cache.
TEST(SurfaceCache, DrawsWhatTheDirectDrawingDraws)
{
    struct Case {
        const char* name;
        QRectF rect;
        QPointF shift;
        qreal opacity;
        bool kept;
    };
    const Case cases[] = {
        {"short", QRectF(10, 12, 180, 40), {}, 1, true},
        {"tall, tiled middle", QRectF(6, 4, 220, 560), {}, 1, true},
        {"shifted by whole pixels", QRectF(3, 5, 200, 300), {17, 9}, 1, true},
        {"off whole pixels", QRectF(3.5, 5.25, 200, 300), {}, 1, false},
        {"shifted by half a pixel", QRectF(3, 5, 200, 300), {0.5, 0.5}, 1, false},
        {"faded", QRectF(3, 5, 200, 300), {}, 0.5, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QPixmapCache::clear();
        int painted = 0;
        const auto counted = [&painted](QPainter& painter, const QRectF& rect, qreal radius) {
            ++painted;
            paintSurface(painter, rect, radius);
        };
        const auto drawn = [&](QImage& image) {
            QPainter painter(&image);
            painter.translate(c.shift);
            painter.setOpacity(c.opacity);
            SurfaceCache::draw(painter, c.rect, 14, QStringLiteral("test"), counted);
        };
        // Twice aside: a short surface is kept only once it is drawn again.
        for (int turn = 0; turn < 2; ++turn) {
            QImage scratch = test::gradientBackground(QSize(260, 600));
            drawn(scratch);
        }
        const int paintedAside = painted;
        QImage cached = test::gradientBackground(QSize(260, 600));
        drawn(cached);
        EXPECT_EQ(painted == paintedAside, c.kept) << painted << " paintings";

        QImage direct = test::gradientBackground(QSize(260, 600));
        {
            QPainter painter(&direct);
            painter.translate(c.shift);
            painter.setOpacity(c.opacity);
            paintSurface(painter, c.rect, 14);
        }
        expectSameLook(cached, direct);
        EXPECT_GT(differenceOf(cached, test::gradientBackground(QSize(260, 600))).largest, 10);
    }
}

// A child is painted with its place in the window as the painter's shift:
// the cached surface lands on the child, not that far again from it.
TEST(SurfaceCache, AChildsSurfaceLandsOnTheChild)
{
    QPixmapCache::clear();
    QImage shots[2];
    for (const bool cached : {true, false}) {
        QWidget window;
        window.resize(320, 420);
        window.setAutoFillBackground(true);
        window.setStyleSheet(QStringLiteral("background: rgb(60, 120, 90)"));
        auto* child = new SurfaceChild(cached, &window);
        child->setGeometry(37, 23, 240, 350);
        shots[cached ? 0 : 1] = window.grab().toImage();
    }
    expectSameLook(shots[0], shots[1]);
}

// The glass surface keeps its look through the cache, light and dark, tinted or not.
TEST(SurfaceCache, GlassLooksTheSameCachedAndTinted)
{
    for (const Appearance appearance : {Appearance::light, Appearance::dark}) {
        for (const std::optional<QColor>& tint :
             {std::optional<QColor>(), std::optional<QColor>(QColor(200, 60, 40))}) {
            QPixmapCache::clear();
            QImage cached = test::gradientBackground(QSize(300, 400));
            {
                QPainter painter(&cached);
                GlassSurface::paint(painter, QRectF(10, 10, 280, 380), 20, appearance, tint);
            }
            QImage faded = test::gradientBackground(QSize(300, 400));
            {
                // A painter's opacity of just under one draws directly.
                QPainter painter(&faded);
                painter.setOpacity(0.9999);
                GlassSurface::paint(painter, QRectF(10, 10, 280, 380), 20, appearance, tint);
            }
            expectSameLook(cached, faded);
        }
    }
}

// A shadow is kept by its look: drawn by a second shadow object (a screen
// made anew) it is the first one's, whether drawn straight, kept on its second
// drawing or taken from the cache; another colour or size is a new shadow.
TEST(SoftShadow, ASecondShadowOfOneLookDrawsTheFirstsPicture)
{
    QPixmapCache::clear();
    const QRectF surface(40, 30, 300, 120);
    const auto drawn = [&](const QColor& color, const QRectF& where) {
        SoftShadow shadow(26, 0.13);
        QImage image = test::gradientBackground(QSize(400, 260));
        QPainter painter(&image);
        shadow.paint(painter, where, 28, color);
        return image;
    };
    const QColor green(20, 110, 80);
    const QImage first = drawn(green, surface);
    EXPECT_GT(differenceOf(first, test::gradientBackground(QSize(400, 260))).largest, 6);
    for (int visit = 0; visit < 3; ++visit) {
        SCOPED_TRACE(visit);
        expectSameLook(drawn(green, surface), first);
    }
    EXPECT_GT(differenceOf(drawn(QColor(160, 30, 30), surface), first).largest, 6);
    EXPECT_GT(differenceOf(drawn(green, surface.adjusted(0, 0, -80, 0)), first).largest, 6);
}

// A band tiled with its one-colour middle filled gives exactly the pixels of
// the band copied: translucent, clear or not one colour across, narrow or wide,
// and with a colour that does not come back from premultiplying.
TEST(SurfaceCache, TilingABandFillsItsMiddleWithTheSamePixels)
{
    struct Case {
        const char* name;
        int width;
        QRgb middle;
    };
    const Case cases[] = {
        {"translucent middle", 300, qPremultiply(qRgba(240, 250, 245, 110))},
        {"clear middle", 300, 0},
        {"opaque middle", 300, qRgba(20, 60, 40, 255)},
        {"a colour that does not come back", 300, qRgba(1, 0, 0, 3)},
        {"too narrow to fill", 40, qPremultiply(qRgba(240, 250, 245, 110))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage band(c.width, 8, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < band.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(band.scanLine(y));
            for (int x = 0; x < band.width(); ++x) {
                // Soft edges of varying alpha, the middle one pixel value.
                const int edge = std::min(x, c.width - 1 - x);
                row[x] = edge < 12 ? qPremultiply(qRgba(30, 90, 70, 20 * edge)) : c.middle;
            }
        }
        const QPixmap pixmap = QPixmap::fromImage(band);
        const QRect rows(7, 5, c.width, 230);
        QImage tiled = test::gradientBackground(QSize(c.width + 20, 250));
        QImage copied = tiled.copy();
        {
            QPainter painter(&tiled);
            SurfaceCache::tile(painter, rows, pixmap);
        }
        {
            QPainter painter(&copied);
            painter.drawTiledPixmap(rows, pixmap);
        }
        EXPECT_EQ(differenceOf(tiled, copied).largest, 0);
    }
}

namespace {

constexpr QSize kHiDpiCanvas(260, 600);

QImage backgroundAt(qreal ratio)
{
    QImage image = test::gradientBackground(kHiDpiCanvas * ratio);
    image.setDevicePixelRatio(ratio);
    return image;
}

// The drawings a high-DPI screen repeats: each through its cache.
struct KeptDrawing {
    const char* name;
    std::function<void(QPainter&)> draw;
};

std::vector<KeptDrawing> keptDrawings()
{
    const auto surface = [](QRectF rect) {
        return
            [rect](QPainter& painter) { SurfaceCache::draw(painter, rect, 14, QStringLiteral("test"), paintSurface); };
    };
    return {
        {"short surface", surface(QRectF(10, 12, 180, 40))},
        {"tall surface, tiled middle", surface(QRectF(6, 4, 220, 560))},
        {"glass",
         [](QPainter& painter) { GlassSurface::paint(painter, QRectF(12, 20, 230, 500), 20, Appearance::dark); }},
        {"one-colour pill",
         [](QPainter& painter) { SurfaceCache::fill(painter, QRectF(30, 40, 120, 28), 14, QColor(200, 60, 40, 150)); }},
        // A shadow object of its own each time, as a screen made anew draws it.
        {"shadow",
         [](QPainter& painter) {
             SoftShadow shadow(14, 0.2);
             shadow.paint(painter, QRectF(40, 30, 180, 300), 20, QColor(20, 110, 80));
         }},
    };
}

} // namespace

// At a device pixel ratio of 2 the kept pictures are the device's pixels: the
// first, second and third drawings of each look as it does drawn directly.
TEST(SurfaceCache, AtRatioTwoKeptPicturesLookAsDrawnDirectly)
{
    for (const KeptDrawing& drawing : keptDrawings()) {
        SCOPED_TRACE(drawing.name);
        QPixmapCache::clear();
        QImage direct = backgroundAt(2);
        {
            // A painter's opacity of just under one draws directly.
            QPainter painter(&direct);
            painter.setOpacity(0.9999);
            drawing.draw(painter);
        }
        EXPECT_GT(differenceOf(direct, backgroundAt(2)).largest, 10);
        for (int time = 1; time <= 3; ++time) {
            SCOPED_TRACE(time);
            QImage cached = backgroundAt(2);
            {
                QPainter painter(&cached);
                drawing.draw(painter);
            }
            expectSameLook(cached, direct);
        }
    }
}

// At a device pixel ratio of 2 the second drawing of one look is served from
// the cache, wherever it lies: only pictures copied one to one reach the screen, no outline is
// filled and nothing is scaled.
TEST(SurfaceCache, AtRatioTwoASecondDrawingOfOneLookIsACopy)
{
    for (const KeptDrawing& drawing : keptDrawings()) {
        SCOPED_TRACE(drawing.name);
        QPixmapCache::clear();
        PaintRecorder screen(kHiDpiCanvas, 2);
        {
            QPainter painter(&screen);
            drawing.draw(painter);
        }
        screen.reset();
        {
            QPainter painter(&screen);
            // Elsewhere on the screen, as a list scrolled by whole points.
            painter.translate(3, 5);
            drawing.draw(painter);
        }
        EXPECT_GT(screen.counts().copies, 0);
        EXPECT_EQ(screen.counts().shapes, 0);
        EXPECT_EQ(screen.counts().scaled, 0);
    }
}
