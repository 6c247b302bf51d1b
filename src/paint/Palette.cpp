#include "paint/Palette.h"

#include <QGuiApplication>
#include <QPalette>
#include <QVariant>

#include <array>

namespace harborlite {

namespace {

// Components as decimal constants in sRGB, red, green, blue, opacity.
struct Rgba {
    double red;
    double green;
    double blue;
    double alpha;
};

struct Pair {
    PaletteRole role;
    Rgba light;
    Rgba dark;
};

constexpr Rgba white(double alpha)
{
    return {1, 1, 1, alpha};
}

constexpr Rgba black(double alpha)
{
    return {0, 0, 0, alpha};
}

// Listed in the enumeration's order.
constexpr std::array<Pair, paletteRoleCount> kPairs = {{
    {PaletteRole::accent, {0.086, 0.741, 0.451, 1}, {0.129, 0.804, 0.510, 1}},
    {PaletteRole::accentDeep, {0.043, 0.549, 0.353, 1}, {0.353, 0.882, 0.639, 1}},
    {PaletteRole::accentBright, {0.310, 0.878, 0.588, 1}, {0.420, 0.918, 0.671, 1}},
    {PaletteRole::mint, {0.788, 0.965, 0.882, 1}, {0.086, 0.235, 0.180, 1}},
    {PaletteRole::mintDeep, {0.616, 0.925, 0.784, 1}, {0.114, 0.310, 0.235, 1}},
    {PaletteRole::canvas, {0.965, 0.976, 0.972, 1}, {0.043, 0.071, 0.063, 1}},
    {PaletteRole::card, {1.000, 1.000, 1.000, 1}, {0.086, 0.125, 0.110, 1}},
    {PaletteRole::ink, {0.055, 0.106, 0.086, 1}, {0.925, 0.957, 0.941, 1}},
    {PaletteRole::inkSecondary, {0.361, 0.427, 0.400, 1}, {0.639, 0.706, 0.678, 1}},
    {PaletteRole::inkTertiary, {0.565, 0.616, 0.596, 1}, {0.451, 0.514, 0.490, 1}},
    {PaletteRole::hairline, {0.878, 0.910, 0.898, 1}, {0.153, 0.204, 0.184, 1}},
    {PaletteRole::warning, {0.945, 0.686, 0.192, 1}, {0.980, 0.749, 0.290, 1}},
    {PaletteRole::danger, {0.898, 0.302, 0.267, 1}, {0.949, 0.400, 0.365, 1}},
    {PaletteRole::info, {0.216, 0.522, 0.894, 1}, {0.376, 0.639, 0.949, 1}},
    {PaletteRole::gradientDeep, {0.043, 0.549, 0.353, 1}, {0.039, 0.420, 0.271, 1}},
    {PaletteRole::surfaceStroke, white(0.65), white(0.12)},
    {PaletteRole::innerFill, white(0.72), white(0.06)},
    {PaletteRole::innerFillSoft, white(0.50), white(0.04)},
    {PaletteRole::hoverFill, white(0.70), white(0.09)},
    {PaletteRole::sidebarWash, white(0.42), black(0.28)},
    {PaletteRole::washTop, white(0.42), black(0.45)},
    {PaletteRole::washMiddle, white(0.05), black(0.18)},
    {PaletteRole::washBottom, white(0.30), black(0.40)},
}};

QColor makeColor(const Rgba& c)
{
    return QColor::fromRgbF(static_cast<float>(c.red), static_cast<float>(c.green), static_cast<float>(c.blue),
                            static_cast<float>(c.alpha));
}

const std::array<AdaptiveColor, paletteRoleCount>& colors()
{
    static const std::array<AdaptiveColor, paletteRoleCount> table = [] {
        std::array<AdaptiveColor, paletteRoleCount> made;
        for (const Pair& pair : kPairs) {
            made.at(static_cast<size_t>(pair.role)) = {makeColor(pair.light), makeColor(pair.dark)};
        }
        return made;
    }();
    return table;
}

// Where the forced appearance is kept: a dynamic property of the application
// object or of a window or widget, so it lives and dies with what it styles.
constexpr char kAppearanceProperty[] = "harborliteAppearance";

std::optional<Appearance> appearanceProperty(const QObject* object)
{
    const QVariant value = object->property(kAppearanceProperty);
    if (!value.isValid()) {
        return std::nullopt;
    }
    // A value that names neither appearance draws light.
    return value.toInt() == static_cast<int>(Appearance::dark) ? Appearance::dark : Appearance::light;
}

void setAppearanceProperty(QObject* object, std::optional<Appearance> appearance)
{
    object->setProperty(kAppearanceProperty, appearance ? QVariant(static_cast<int>(*appearance)) : QVariant());
}

} // namespace

QColor AdaptiveColor::resolve(Appearance appearance) const
{
    return appearance == Appearance::dark ? dark : light;
}

QGradientStops AdaptiveGradient::resolve(Appearance appearance) const
{
    QGradientStops resolved;
    resolved.reserve(static_cast<qsizetype>(stops.size()));
    for (const Stop& stop : stops) {
        resolved.append({stop.position, stop.color->resolve(appearance)});
    }
    return resolved;
}

namespace Palette {

const AdaptiveColor& color(PaletteRole role)
{
    return colors().at(static_cast<size_t>(role));
}

const AdaptiveColor& accent()
{
    return color(PaletteRole::accent);
}
const AdaptiveColor& accentDeep()
{
    return color(PaletteRole::accentDeep);
}
const AdaptiveColor& accentBright()
{
    return color(PaletteRole::accentBright);
}
const AdaptiveColor& mint()
{
    return color(PaletteRole::mint);
}
const AdaptiveColor& mintDeep()
{
    return color(PaletteRole::mintDeep);
}
const AdaptiveColor& canvas()
{
    return color(PaletteRole::canvas);
}
const AdaptiveColor& canvasNSColor()
{
    return color(PaletteRole::canvas);
}
const AdaptiveColor& card()
{
    return color(PaletteRole::card);
}
const AdaptiveColor& ink()
{
    return color(PaletteRole::ink);
}
const AdaptiveColor& inkSecondary()
{
    return color(PaletteRole::inkSecondary);
}
const AdaptiveColor& inkTertiary()
{
    return color(PaletteRole::inkTertiary);
}
const AdaptiveColor& hairline()
{
    return color(PaletteRole::hairline);
}
const AdaptiveColor& warning()
{
    return color(PaletteRole::warning);
}
const AdaptiveColor& danger()
{
    return color(PaletteRole::danger);
}
const AdaptiveColor& info()
{
    return color(PaletteRole::info);
}
const AdaptiveColor& gradientDeep()
{
    return color(PaletteRole::gradientDeep);
}
const AdaptiveColor& surfaceStroke()
{
    return color(PaletteRole::surfaceStroke);
}
const AdaptiveColor& innerFill()
{
    return color(PaletteRole::innerFill);
}
const AdaptiveColor& innerFillSoft()
{
    return color(PaletteRole::innerFillSoft);
}
const AdaptiveColor& hoverFill()
{
    return color(PaletteRole::hoverFill);
}
const AdaptiveColor& sidebarWash()
{
    return color(PaletteRole::sidebarWash);
}
const AdaptiveColor& washTop()
{
    return color(PaletteRole::washTop);
}
const AdaptiveColor& washMiddle()
{
    return color(PaletteRole::washMiddle);
}
const AdaptiveColor& washBottom()
{
    return color(PaletteRole::washBottom);
}

const AdaptiveGradient& accentGradient()
{
    static const AdaptiveGradient gradient{{
        {0.0, &accentBright()},
        {0.5, &accent()},
        {1.0, &gradientDeep()},
    }};
    return gradient;
}

const AdaptiveGradient& dialGradient()
{
    static const AdaptiveGradient gradient{{
        {0.0, &accentBright()},
        {1.0 / 3.0, &accent()},
        {2.0 / 3.0, &gradientDeep()},
        {1.0, &accentBright()},
    }};
    return gradient;
}

QLinearGradient accentGradient(const QRectF& rect, Appearance appearance)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomRight());
    gradient.setStops(accentGradient().resolve(appearance));
    return gradient;
}

QConicalGradient dialGradient(const QPointF& center, Appearance appearance)
{
    // Qt's conical gradient runs counter-clockwise, so position p of the
    // clockwise description sits at 1 - p.
    QGradientStops stops;
    const QGradientStops clockwise = dialGradient().resolve(appearance);
    for (auto it = clockwise.crbegin(); it != clockwise.crend(); ++it) {
        stops.append({1.0 - it->first, it->second});
    }
    QConicalGradient gradient(center, 0);
    gradient.setStops(stops);
    return gradient;
}

Appearance systemAppearance()
{
    if (qGuiApp == nullptr) {
        return Appearance::light;
    }
    // Qt 6.4 cannot ask the desktop for its colour scheme; its palette tells.
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::WindowText).lightness() > palette.color(QPalette::Window).lightness()
        ? Appearance::dark
        : Appearance::light;
}

std::optional<Appearance> applicationAppearance()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return application != nullptr ? appearanceProperty(application) : std::nullopt;
}

void setApplicationAppearance(std::optional<Appearance> appearance)
{
    if (QCoreApplication* application = QCoreApplication::instance()) {
        setAppearanceProperty(application, appearance);
    }
}

std::optional<Appearance> ownAppearance(const QObject* object)
{
    return appearanceProperty(object);
}

void setOwnAppearance(QObject* object, std::optional<Appearance> appearance)
{
    setAppearanceProperty(object, appearance);
}

Appearance appearance(const QObject* object)
{
    for (const QObject* level = object; level != nullptr; level = level->parent()) {
        if (const std::optional<Appearance> own = appearanceProperty(level)) {
            return *own;
        }
    }
    if (const std::optional<Appearance> forced = applicationAppearance()) {
        return *forced;
    }
    return systemAppearance();
}

QColor resolve(PaletteRole role, const QObject* object)
{
    return color(role).resolve(appearance(object));
}

} // namespace Palette

} // namespace harborlite
