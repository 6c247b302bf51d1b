#include "paint/Palette.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <thread>
#include <vector>

using namespace harborlite;

namespace {

struct Rgba {
    double red;
    double green;
    double blue;
    double alpha;
};

struct ColorRow {
    const char* name;
    const AdaptiveColor& (*member)();
    PaletteRole role;
    Rgba light;
    Rgba dark;
};

constexpr Rgba solid(double red, double green, double blue)
{
    return {red, green, blue, 1};
}

constexpr Rgba white(double alpha)
{
    return {1, 1, 1, alpha};
}

constexpr Rgba black(double alpha)
{
    return {0, 0, 0, alpha};
}

const ColorRow kColors[] = {
    {"accent", Palette::accent, PaletteRole::accent, solid(0.086, 0.741, 0.451), solid(0.129, 0.804, 0.510)},
    {"accentDeep", Palette::accentDeep, PaletteRole::accentDeep, solid(0.043, 0.549, 0.353),
     solid(0.353, 0.882, 0.639)},
    {"accentBright", Palette::accentBright, PaletteRole::accentBright, solid(0.310, 0.878, 0.588),
     solid(0.420, 0.918, 0.671)},
    {"mint", Palette::mint, PaletteRole::mint, solid(0.788, 0.965, 0.882), solid(0.086, 0.235, 0.180)},
    {"mintDeep", Palette::mintDeep, PaletteRole::mintDeep, solid(0.616, 0.925, 0.784), solid(0.114, 0.310, 0.235)},
    {"canvas", Palette::canvas, PaletteRole::canvas, solid(0.965, 0.976, 0.972), solid(0.043, 0.071, 0.063)},
    {"card", Palette::card, PaletteRole::card, solid(1.000, 1.000, 1.000), solid(0.086, 0.125, 0.110)},
    {"ink", Palette::ink, PaletteRole::ink, solid(0.055, 0.106, 0.086), solid(0.925, 0.957, 0.941)},
    {"inkSecondary", Palette::inkSecondary, PaletteRole::inkSecondary, solid(0.361, 0.427, 0.400),
     solid(0.639, 0.706, 0.678)},
    {"inkTertiary", Palette::inkTertiary, PaletteRole::inkTertiary, solid(0.565, 0.616, 0.596),
     solid(0.451, 0.514, 0.490)},
    {"hairline", Palette::hairline, PaletteRole::hairline, solid(0.878, 0.910, 0.898), solid(0.153, 0.204, 0.184)},
    {"warning", Palette::warning, PaletteRole::warning, solid(0.945, 0.686, 0.192), solid(0.980, 0.749, 0.290)},
    {"danger", Palette::danger, PaletteRole::danger, solid(0.898, 0.302, 0.267), solid(0.949, 0.400, 0.365)},
    {"info", Palette::info, PaletteRole::info, solid(0.216, 0.522, 0.894), solid(0.376, 0.639, 0.949)},
    {"gradientDeep", Palette::gradientDeep, PaletteRole::gradientDeep, solid(0.043, 0.549, 0.353),
     solid(0.039, 0.420, 0.271)},
    {"surfaceStroke", Palette::surfaceStroke, PaletteRole::surfaceStroke, white(0.65), white(0.12)},
    {"innerFill", Palette::innerFill, PaletteRole::innerFill, white(0.72), white(0.06)},
    {"innerFillSoft", Palette::innerFillSoft, PaletteRole::innerFillSoft, white(0.50), white(0.04)},
    {"hoverFill", Palette::hoverFill, PaletteRole::hoverFill, white(0.70), white(0.09)},
    {"sidebarWash", Palette::sidebarWash, PaletteRole::sidebarWash, white(0.42), black(0.28)},
    {"washTop", Palette::washTop, PaletteRole::washTop, white(0.42), black(0.45)},
    {"washMiddle", Palette::washMiddle, PaletteRole::washMiddle, white(0.05), black(0.18)},
    {"washBottom", Palette::washBottom, PaletteRole::washBottom, white(0.30), black(0.40)},
};

// QColor keeps 16 bits per component.
void expectComponents(const QColor& color, const Rgba& expected)
{
    constexpr double tolerance = 1e-4;
    EXPECT_NEAR(color.redF(), expected.red, tolerance);
    EXPECT_NEAR(color.greenF(), expected.green, tolerance);
    EXPECT_NEAR(color.blueF(), expected.blue, tolerance);
    EXPECT_NEAR(color.alphaF(), expected.alpha, tolerance);
}

QPalette desktopPalette(Appearance appearance)
{
    QPalette palette;
    const bool dark = appearance == Appearance::dark;
    palette.setColor(QPalette::Window, dark ? QColor(0x20, 0x20, 0x20) : QColor(0xef, 0xef, 0xef));
    palette.setColor(QPalette::WindowText, dark ? QColor(0xee, 0xee, 0xee) : QColor(0x10, 0x10, 0x10));
    return palette;
}

// Puts the desktop palette and the application's forced appearance back.
class PaletteAppearance : public testing::Test {
protected:
    void TearDown() override
    {
        Palette::setApplicationAppearance(std::nullopt);
        QGuiApplication::setPalette(QPalette());
    }
};

} // namespace

TEST(Palette, EveryNamedPairHasItsComponents)
{
    ASSERT_EQ(std::size(kColors), static_cast<size_t>(paletteRoleCount));
    for (const ColorRow& row : kColors) {
        SCOPED_TRACE(row.name);
        const AdaptiveColor& color = row.member();
        EXPECT_EQ(&color, &row.member());
        EXPECT_EQ(&color, &Palette::color(row.role));
        expectComponents(color.resolve(Appearance::light), row.light);
        expectComponents(color.resolve(Appearance::dark), row.dark);
    }
    EXPECT_EQ(&Palette::canvasNSColor(), &Palette::canvas());
    EXPECT_NE(Palette::gradientDeep().dark, Palette::accentDeep().dark);
    EXPECT_EQ(Palette::gradientDeep().light, Palette::accentDeep().light);
}

TEST(Palette, FirstUseFromManyThreadsBuildsOneObject)
{
    std::vector<const AdaptiveGradient*> seen(8);
    std::vector<std::thread> threads;
    for (size_t index = 0; index < seen.size(); ++index) {
        threads.emplace_back([&seen, index] { seen[index] = &Palette::dialGradient(); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const AdaptiveGradient* gradient : seen) {
        EXPECT_EQ(gradient, &Palette::dialGradient());
    }
}

TEST(Palette, GradientsFollowTheAppearanceFromOneDescription)
{
    const AdaptiveGradient& accent = Palette::accentGradient();
    const QRectF rect(10, 20, 100, 50);
    for (Appearance appearance : {Appearance::light, Appearance::dark}) {
        const QLinearGradient linear = Palette::accentGradient(rect, appearance);
        EXPECT_EQ(linear.start(), rect.topLeft());
        EXPECT_EQ(linear.finalStop(), rect.bottomRight());
        EXPECT_EQ(linear.stops(),
                  (QGradientStops{{0.0, Palette::accentBright().resolve(appearance)},
                                  {0.5, Palette::accent().resolve(appearance)},
                                  {1.0, Palette::gradientDeep().resolve(appearance)}}));

        // Qt turns counter-clockwise, the dial clockwise: the stops mirror.
        const QConicalGradient conical = Palette::dialGradient(QPointF(5, 6), appearance);
        EXPECT_EQ(conical.center(), QPointF(5, 6));
        EXPECT_EQ(conical.angle(), 0);
        const QGradientStops stops = conical.stops();
        ASSERT_EQ(stops.size(), 4);
        const QColor expected[] = {Palette::accentBright().resolve(appearance),
                                   Palette::gradientDeep().resolve(appearance), Palette::accent().resolve(appearance),
                                   Palette::accentBright().resolve(appearance)};
        const double positions[] = {0, 1.0 / 3.0, 2.0 / 3.0, 1};
        for (int index = 0; index < 4; ++index) {
            EXPECT_NEAR(stops.at(index).first, positions[index], 1e-9);
            EXPECT_EQ(stops.at(index).second, expected[index]);
        }
    }
    EXPECT_EQ(&accent, &Palette::accentGradient());
}

TEST_F(PaletteAppearance, ResolvesByTheNearestForcedAppearanceThenTheDesktop)
{
    QObject window;
    auto* child = new QObject(&window);
    auto* grandchild = new QObject(child);

    for (Appearance desktop : {Appearance::light, Appearance::dark}) {
        SCOPED_TRACE(desktop == Appearance::dark ? "dark desktop" : "light desktop");
        QGuiApplication::setPalette(desktopPalette(desktop));
        Palette::setApplicationAppearance(std::nullopt);
        Palette::setOwnAppearance(&window, std::nullopt);
        Palette::setOwnAppearance(child, std::nullopt);

        EXPECT_EQ(Palette::systemAppearance(), desktop);
        EXPECT_EQ(Palette::appearance(grandchild), desktop);
        EXPECT_EQ(Palette::appearance(nullptr), desktop);

        Palette::setApplicationAppearance(Appearance::dark);
        EXPECT_EQ(Palette::applicationAppearance(), Appearance::dark);
        EXPECT_EQ(Palette::appearance(grandchild), Appearance::dark);

        Palette::setOwnAppearance(&window, Appearance::light);
        EXPECT_EQ(Palette::ownAppearance(&window), Appearance::light);
        EXPECT_EQ(Palette::appearance(grandchild), Appearance::light);
        EXPECT_EQ(Palette::resolve(PaletteRole::washMiddle, grandchild), Palette::washMiddle().light);

        Palette::setOwnAppearance(child, Appearance::dark);
        EXPECT_EQ(Palette::appearance(grandchild), Appearance::dark);
        EXPECT_EQ(Palette::appearance(&window), Appearance::light);
        EXPECT_EQ(Palette::resolve(PaletteRole::washMiddle, grandchild), Palette::washMiddle().dark);
    }
}

TEST_F(PaletteAppearance, AnAppearanceThatIsNeitherDrawsLight)
{
    QObject window;
    window.setProperty("harborliteAppearance", 7);
    Palette::setApplicationAppearance(Appearance::dark);

    EXPECT_EQ(Palette::appearance(&window), Appearance::light);
    EXPECT_EQ(Palette::resolve(PaletteRole::ink, &window), Palette::ink().light);
}
