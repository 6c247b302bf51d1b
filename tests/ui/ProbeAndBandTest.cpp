#include "ui/paintcache/ProbeAndBand.h"
#include "support/ImageDifference.h"
#include "ui/paintcache/PictureKey.h"
#include "ui/theme/SoftShadow.h"

#include <QPainter>
#include <QPixmapCache>

#include <gtest/gtest.h>

#include <cmath>

using namespace harborlite;
using test::differenceOf;
using test::expectSameLook;

namespace {

constexpr qreal kCardRadius = 18;
constexpr int kProbeCardRows = 128;

// A tall card's shadow drawn from the shadow of a short card, its probe.
void drawFromProbe(QPainter& painter, const QRect& card, SoftShadow& shadow, const QColor& color, qreal ratio)
{
    const QMargins margins = (shadow.margins() + QMarginsF(1, 1, 1, 1)).toMargins();
    const QSize probe(card.width() + margins.left() + margins.right(),
                      kProbeCardRows + margins.top() + margins.bottom());
    const auto rows = [ratio](int logical) { return int(std::ceil(logical * ratio)); };
    const int split = std::min(card.height(), kProbeCardRows) / 2;
    const ProbeAndBand::Probe made{
        {PictureLook::of(u"test-shadow", color, card.width()), QSize(rows(probe.width()), rows(probe.height())), ratio},
        rows(margins.top() + split),
        rows(probe.height()) - rows(margins.top() + kProbeCardRows - split)};
    ProbeAndBand::draw(painter, QRectF(card.marginsAdded(margins)), made, [&](QPainter& onto) {
        shadow.paint(onto, QRectF(margins.left(), margins.top(), card.width(), kProbeCardRows), kCardRadius, color);
    });
}

} // namespace

// A tall shadow drawn from its probe looks as the shadow drawn whole: at
// ratio one and two, where the probe's pixels are copied and its row tiled,
// and under a painter that does not draw plainly, where they are scaled and
// the row stretched.
TEST(ProbeAndBand, ATallPictureFromItsProbeLooksAsDrawnWhole)
{
    struct Case {
        const char* name;
        qreal ratio;
        qreal opacity;
    };
    const Case cases[] = {
        {"ratio one", 1, 1},
        {"ratio two", 2, 1},
        {"not plainly", 1, 0.9999},
    };
    const QRect card(30, 40, 220, 480);
    const QColor color(20, 110, 80);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QPixmapCache::clear();
        const auto canvas = [&] {
            QImage image = test::gradientBackground(QSize(300, 600) * c.ratio);
            image.setDevicePixelRatio(c.ratio);
            return image;
        };
        SoftShadow shadow(14, 0.2);
        QImage whole = canvas();
        {
            QPainter painter(&whole);
            shadow.paint(painter, QRectF(card), kCardRadius, color);
        }
        EXPECT_GT(differenceOf(whole, canvas()).largest, 6);
        for (int time = 0; time < 2; ++time) {
            QImage probed = canvas();
            {
                QPainter painter(&probed);
                painter.setOpacity(c.opacity);
                drawFromProbe(painter, card, shadow, color, c.opacity < 1 ? 1 : c.ratio);
            }
            expectSameLook(probed, whole);
        }
    }
}
