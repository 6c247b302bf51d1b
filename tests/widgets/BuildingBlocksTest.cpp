#include "paint/Palette.h"
#include "widgets/extension/FreeAmountRow.h"
#include "widgets/extension/LabelledFigure.h"
#include "widgets/extension/MonitorProvider.h"
#include "widgets/extension/StorageEntryView.h"
#include "widgets/extension/SystemMonitorEntryView.h"
#include "widgets/extension/WidgetBackground.h"
#include "widgets/extension/WidgetBar.h"
#include "widgets/extension/WidgetHeader.h"
#include "widgets/extension/WidgetRing.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace harborlite;

namespace {

QImage render(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

template <typename View>
std::unique_ptr<View> viewOf(WidgetFamily family, const SystemSnapshot& snapshot)
{
    auto view = std::make_unique<View>(family);
    Palette::setOwnAppearance(view.get(), Appearance::light);
    view->display({QDateTime::currentDateTimeUtc(), snapshot});
    return view;
}

} // namespace

TEST(WidgetBar, TheFillIsNeverNarrowerThanFour)
{
    const struct {
        double fraction;
        qreal width;
    } rows[] = {
        {0, 4}, {-1, 4}, {0.01, 4}, {0.5, 100}, {1, 200}, {1.3, 200}, {std::numeric_limits<double>::quiet_NaN(), 4},
    };
    for (const auto& row : rows) {
        EXPECT_DOUBLE_EQ(WidgetBar::fillWidth(200, row.fraction), row.width) << row.fraction;
    }
}

TEST(WidgetBar, AnEmptyBarStillShowsItsStart)
{
    WidgetBar bar(QStringLiteral("Used"), QStringLiteral("0%"), 0, Palette::accentBright());
    Palette::setOwnAppearance(&bar, Appearance::light);
    bar.resize(120, bar.sizeHint().height());
    const QImage image = render(bar);
    const int y = image.height() - WidgetBar::kBarHeight / 2 - 1;
    const QColor fill = Palette::accentBright().light;
    EXPECT_EQ(image.pixelColor(2, y).rgb(), fill.rgb());
    EXPECT_NE(image.pixelColor(20, y).rgb(), fill.rgb());
}

TEST(WidgetRing, TheArcFollowsTheClampedFraction)
{
    const struct {
        double fraction;
        qreal span;
    } rows[] = {
        {0, 0}, {-0.3, 0}, {0.25, 90}, {0.5, 180}, {1, 360}, {1.7, 360}, {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& row : rows) {
        EXPECT_DOUBLE_EQ(WidgetRing::spanDegrees(row.fraction), row.span) << row.fraction;
    }
}

TEST(WidgetRing, AQuarterRingRunsFromTwelveToThree)
{
    WidgetRing ring(0.25, Palette::accent(), QStringLiteral("CPU"), QString());
    Palette::setOwnAppearance(&ring, Appearance::light);
    ring.resize(ring.sizeHint());
    const QImage image = render(ring);
    const QRectF frame = ring.ringFrame();
    const QPointF c = frame.center();
    const qreal r = frame.width() / 2;
    const QColor arc = Palette::accent().light;
    const auto at = [&](qreal degreesClockwiseFromTwelve) {
        const qreal a = (degreesClockwiseFromTwelve - 90) * M_PI / 180;
        return image.pixelColor(int(c.x() + r * std::cos(a)), int(c.y() + r * std::sin(a)));
    };
    EXPECT_EQ(at(45).rgb(), arc.rgb());
    EXPECT_NE(at(135).rgb(), arc.rgb());
    EXPECT_NE(at(270).rgb(), arc.rgb());
    EXPECT_GT(at(270).alpha(), 0) << "the track runs all the way round";
    // The stroke's outer half stays inside the widget.
    EXPECT_GE(frame.top(), WidgetRing::kOverhang);
    EXPECT_GE(frame.left(), WidgetRing::kOverhang);
}

TEST(WidgetRing, ValuesStayOnOneLineInsideTheRing)
{
    WidgetRing ring(0.5, Palette::accent(), QStringLiteral("CPU"), QStringLiteral("1,250,000,000%"));
    Palette::setOwnAppearance(&ring, Appearance::light);
    ring.resize(ring.sizeHint());
    const QImage image = render(ring);
    const QRectF frame = ring.ringFrame();
    // The centre of the ring holds ink; the rows above and below the value's
    // line inside the ring hold none (the text never wraps).
    const QColor ink = Palette::ink().light;
    const auto inkIn = [&](int top, int bottom) {
        int dark = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = int(frame.left() + 12); x < int(frame.right() - 12); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                dark += pixel.alpha() > 200 && pixel.lightness() < ink.lightness() + 40;
            }
        }
        return dark;
    };
    const int middle = int(frame.center().y());
    EXPECT_GT(inkIn(middle - 4, middle + 4), 0);
    EXPECT_EQ(inkIn(int(frame.top() + 9), middle - 9), 0);
    EXPECT_EQ(inkIn(middle + 9, int(frame.bottom() - 9)), 0);
}

TEST(WidgetBackground, TheGlowsAreSoftDiscs)
{
    const qreal sigma = WidgetBackground::kBlurSigma;
    EXPECT_NEAR(WidgetBackground::blurredDiscCoverage(0, 110, sigma), 1 - std::exp(-110.0 * 110 / (2 * sigma * sigma)),
                1e-3);
    // On the edge a little less than half, as the disc curves away (0.450 by
    // sampling the Gaussian).
    EXPECT_NEAR(WidgetBackground::blurredDiscCoverage(110, 110, sigma), 0.450, 0.005);
    EXPECT_LT(WidgetBackground::blurredDiscCoverage(110 + 3 * sigma, 110, sigma), 0.01);
    EXPECT_GT(WidgetBackground::blurredDiscCoverage(50, 110, sigma),
              WidgetBackground::blurredDiscCoverage(100, 110, sigma));

    QImage image(364, 170, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&image);
        WidgetBackground::paint(painter, QRectF(image.rect()), Appearance::dark);
    }
    const QColor canvas = Palette::canvas().dark;
    const QColor corner = image.pixelColor(363, 0);
    EXPECT_EQ(image.pixelColor(0, 169).alpha(), 255);
    // Up and to the left of the centre the mint glow lifts the canvas.
    const QColor glow = image.pixelColor(182 - 70, 85 - 60);
    EXPECT_GT(glow.green(), canvas.green() + 20);
    EXPECT_LT(std::abs(corner.green() - canvas.green()), glow.green() - canvas.green());
}

TEST(WidgetHeader, ShowsTheWordmark)
{
    EXPECT_EQ(WidgetHeader::wordmark(), QStringLiteral("Harborlite"));
    WidgetHeader header;
    EXPECT_EQ(header.accessibleName(), QStringLiteral("Harborlite"));
    EXPECT_GE(header.sizeHint().height(), WidgetHeader::kMarkSide);
}

TEST(SystemMonitorEntryView, EachLayoutHoldsItsBlocks)
{
    const SystemSnapshot placeholder = MonitorProvider::placeholderSnapshot();
    SystemSnapshot bare = placeholder;
    bare.batteryLevel.reset();
    bare.swapUsed = 0;
    const struct {
        WidgetFamily family;
        SystemSnapshot snapshot;
        int rings;
        int bars;
        int figures;
    } rows[] = {
        {WidgetFamily::systemSmall, placeholder, 2, 1, 0},      {WidgetFamily::systemMedium, placeholder, 3, 0, 3},
        {WidgetFamily::systemLarge, placeholder, 4, 3, 3},      {WidgetFamily::systemLarge, bare, 3, 3, 2},
        {WidgetFamily::systemExtraLarge, placeholder, 3, 0, 3},
    };
    for (const auto& row : rows) {
        auto view = viewOf<SystemMonitorEntryView>(row.family, row.snapshot);
        EXPECT_EQ(view->size(), displaySize(row.family));
        EXPECT_EQ(view->findChildren<WidgetHeader*>().size(), 1);
        EXPECT_EQ(view->findChildren<WidgetRing*>().size(), row.rings) << rawValue(row.family).toStdString();
        EXPECT_EQ(view->findChildren<WidgetBar*>().size(), row.bars) << rawValue(row.family).toStdString();
        EXPECT_EQ(view->findChildren<LabelledFigure*>().size(), row.figures) << rawValue(row.family).toStdString();
        // Everything lies inside the content margin.
        const QRect content = view->rect().adjusted(kWidgetContentMargin, kWidgetContentMargin, -kWidgetContentMargin,
                                                    -kWidgetContentMargin);
        for (const QWidget* child : view->findChildren<QWidget*>()) {
            const int room = dynamic_cast<const WidgetRing*>(child) ? WidgetRing::kOverhang : 0;
            EXPECT_TRUE(content.adjusted(-room, -room, room, room).contains(child->geometry()))
                << child->accessibleName().toStdString() << " in " << rawValue(row.family).toStdString();
        }
    }
}

TEST(SystemMonitorEntryView, ANewEntryReplacesTheBlocks)
{
    auto view = viewOf<SystemMonitorEntryView>(WidgetFamily::systemLarge, MonitorProvider::placeholderSnapshot());
    SystemSnapshot bare;
    view->display({QDateTime::currentDateTimeUtc(), bare});
    EXPECT_EQ(view->findChildren<WidgetRing*>().size(), 3);
    EXPECT_EQ(view->findChildren<WidgetRing*>().at(0)->value(), QStringLiteral("0%"));
    ASSERT_TRUE(view->entry().has_value());
    EXPECT_EQ(view->entry()->snapshot, bare);
}

TEST(StorageEntryView, TheBarSitsAtTheBottom)
{
    for (const WidgetFamily family : {WidgetFamily::systemSmall, WidgetFamily::systemMedium}) {
        auto view = viewOf<StorageEntryView>(family, MonitorProvider::placeholderSnapshot());
        const auto bars = view->findChildren<WidgetBar*>();
        ASSERT_EQ(bars.size(), 1);
        EXPECT_EQ(bars[0]->title(), QStringLiteral("Used"));
        EXPECT_EQ(bars[0]->geometry().bottom() + 1, view->height() - kWidgetContentMargin);
        const auto amounts = view->findChildren<FreeAmountRow*>();
        ASSERT_EQ(amounts.size(), 1);
        EXPECT_EQ(amounts[0]->number(), QStringLiteral("161"));
        EXPECT_EQ(amounts[0]->unit(), QStringLiteral("GB"));
    }
}
