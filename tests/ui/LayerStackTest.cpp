#include "ui/theme/LayerStack.h"
#include "PaintRecorder.h"
#include "support/ImageDifference.h"
#include "ui/paintcache/SurfaceCache.h"
#include "ui/theme/GlassSurface.h"

#include <QPainter>
#include <QPixmapCache>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace harborlite;

namespace {

constexpr QSize kCanvas(320, 620);

// One layer as the list lays it: a rounded surface, or a wider soft layer
// whose ends are not alike (a card's shadow) with its alike rows named.
struct TestLayer {
    QRect rect;
    qreal radius;
    QColor color;
    int steadyInset = -1; // rows from each end that differ; -1: the corners'
};

void paintLayer(QPainter& painter, const TestLayer& layer)
{
    if (layer.color.isValid()) {
        SurfaceCache::fill(painter, QRectF(layer.rect), layer.radius, layer.color);
    } else {
        GlassSurface::paint(painter, QRectF(layer.rect), layer.radius, Appearance::light);
    }
}

// With `named`, each layer names its look, and flattened rows are kept.
LayerStack stackOf(const std::vector<TestLayer>& layers, bool named = true)
{
    LayerStack stack;
    for (const TestLayer& layer : layers) {
        const auto paint = [layer](QPainter& painter) { paintLayer(painter, layer); };
        const QString look = named ? QStringLiteral("test-%1-%2-%3-%4")
                                         .arg(layer.rect.left())
                                         .arg(layer.rect.width())
                                         .arg(layer.radius)
                                         .arg(layer.color.rgba())
                                   : QString();
        if (layer.steadyInset < 0) {
            stack.addRoundedRect(layer.rect, layer.radius, paint, look);
        } else {
            stack.add(layer.rect.top(), layer.rect.bottom(), layer.rect.top() + layer.steadyInset,
                      layer.rect.bottom() - layer.steadyInset, paint, look);
        }
    }
    return stack;
}

using Prepare = std::function<void(QPainter&)>;

QImage oneByOne(const std::vector<TestLayer>& layers, const QRect& area, const Prepare& prepare = {})
{
    QImage image = test::gradientBackground(kCanvas);
    QPainter painter(&image);
    if (prepare) {
        prepare(painter);
    }
    // Clipped as the stack's painter is: a clip alone can change how Qt rounds.
    painter.setClipRect(area);
    for (const TestLayer& layer : layers) {
        paintLayer(painter, layer);
    }
    return image;
}

QImage stacked(const std::vector<TestLayer>& layers, const QRect& area, const Prepare& prepare = {}, bool named = true)
{
    QImage image = test::gradientBackground(kCanvas);
    QPainter painter(&image);
    if (prepare) {
        prepare(painter);
    }
    painter.setClipRect(area);
    stackOf(layers, named).paint(painter, area);
    return image;
}

const QRect kWhole(QPoint(0, 0), kCanvas);

// A card on its shadow with two groups' inner cards on it, as the results list lays them.
const std::vector<TestLayer> kCards = {
    {QRect(-20, 0, 360, 600), 40, QColor(20, 110, 80, 30), 64},
    {QRect(0, 10, 320, 580), 22, QColor()},
    {QRect(16, 60, 288, 300), 16, QColor(255, 255, 255, 140)},
    {QRect(16, 370, 288, 200), 16, QColor(255, 255, 255, 140)},
};

} // namespace

// Laid as a stack, the layers look as laid one by one: the same pixels where
// a layer's rows differ, and where every row is alike only the rounding of
// blending once instead of several times.
TEST(LayerStack, LooksAsTheLayersLaidOneByOne)
{
    struct Case {
        const char* name;
        std::vector<TestLayer> layers;
        int largestRounding;
    };
    const std::vector<Case> cases = {
        {"cards on a shadow", kCards, 2},
        {"surfaces end to end",
         {{QRect(10, 10, 300, 200), 20, QColor(200, 40, 40, 90)},
          {QRect(10, 210, 300, 200), 20, QColor(40, 40, 200, 90)}},
         0},
        {"one surface", {{QRect(10, 10, 300, 500), 22, QColor()}}, 0},
        {"a short surface on a tall one",
         {{QRect(0, 0, 320, 600), 22, QColor()}, {QRect(20, 100, 280, 30), 12, QColor(0, 0, 0, 60)}},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QPixmapCache::clear();
        const QImage expected = oneByOne(c.layers, kWhole);
        const QImage made = stacked(c.layers, kWhole, {}, false);
        EXPECT_LE(test::differenceOf(made, expected).largest, c.largestRounding);
        // Named, the flattened rows are drawn aside once and then kept: the same pixels both times.
        EXPECT_EQ(stacked(c.layers, kWhole), made);
        EXPECT_EQ(stacked(c.layers, kWhole), made);
        EXPECT_GT(test::differenceOf(made, test::gradientBackground(kCanvas)).largest, 20);
    }
}

// A part repainted alone, as a click repaints a row, gets exactly the pixels a
// repaint of everything gives it, wherever it lies; kept rows serve only their
// own look.
TEST(LayerStack, APartRepaintedAloneLooksAsTheWhole)
{
    QPixmapCache::clear();
    const QImage whole = stacked(kCards, kWhole);
    const QRect parts[] = {
        QRect(0, 200, 320, 40), // inside the alike rows
        QRect(0, 40, 320, 60), // across an inner card's top corners
        QRect(30, 150, 24, 24), // a small square, as an icon
        QRect(0, 355, 320, 30), // between two inner cards
        QRect(0, 0, 320, 80), // the card's top, over the shadow's end
    };
    for (const QRect& part : parts) {
        SCOPED_TRACE(testing::Message() << part.x() << "," << part.y() << " " << part.width() << "x" << part.height());
        QImage repainted = whole.copy();
        {
            QPainter painter(&repainted);
            painter.drawImage(part, test::gradientBackground(kCanvas), part);
            painter.setClipRect(part);
            stackOf(kCards).paint(painter, part);
        }
        EXPECT_EQ(repainted, whole);
    }
    // Another look at the same places is drawn anew, not taken for the kept one.
    std::vector<TestLayer> recoloured = kCards;
    recoloured[2].color = QColor(200, 60, 40, 140);
    EXPECT_EQ(stacked(recoloured, kWhole), stacked(recoloured, kWhole, {}, false));
    EXPECT_NE(stacked(recoloured, kWhole), whole);
}

// Where cached pixels cannot stand for a drawing (device pixels scaled, the
// painter faded) the layers are drawn one by one, exactly as without a stack.
TEST(LayerStack, APainterThatDoesNotDrawPlainlyGetsTheLayersOneByOne)
{
    const std::pair<const char*, Prepare> painters[] = {
        {"scaled", [](QPainter& painter) { painter.scale(0.5, 0.5); }},
        {"faded", [](QPainter& painter) { painter.setOpacity(0.6); }},
    };
    for (const auto& [name, prepare] : painters) {
        SCOPED_TRACE(name);
        QPixmapCache::clear();
        const QRect area(0, 0, 640, 1240);
        EXPECT_EQ(stacked(kCards, area, prepare), oneByOne(kCards, area, prepare));
    }
}

// On a screen of device pixel ratio 2 the stack looks as the layers laid one
// by one, the same every time, and a second paint reaches the screen as
// copied pictures only: every row and corner comes from what was kept.
TEST(LayerStack, AtRatioTwoLooksAsOneByOneAndIsKept)
{
    QPixmapCache::clear();
    const auto drawn = [](bool asStack) {
        QImage image = test::gradientBackground(kCanvas * 2);
        image.setDevicePixelRatio(2);
        QPainter painter(&image);
        painter.setClipRect(kWhole);
        if (asStack) {
            stackOf(kCards).paint(painter, kWhole);
        } else {
            for (const TestLayer& layer : kCards) {
                paintLayer(painter, layer);
            }
        }
        return image;
    };
    const QImage expected = drawn(false);
    const QImage first = drawn(true);
    EXPECT_LE(test::differenceOf(first, expected).largest, 2);
    EXPECT_EQ(drawn(true), first);

    QPixmapCache::clear();
    PaintRecorder screen(kCanvas, 2);
    for (int time = 0; time < 2; ++time) {
        screen.reset();
        QPainter painter(&screen);
        stackOf(kCards).paint(painter, kWhole);
    }
    EXPECT_GT(screen.counts().copies, 0);
    EXPECT_EQ(screen.counts().shapes, 0);
    EXPECT_EQ(screen.counts().scaled, 0);
}
