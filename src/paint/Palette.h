#pragma once

#include "shared/PaletteRole.h"

#include <QColor>
#include <QConicalGradient>
#include <QLinearGradient>

#include <optional>
#include <vector>

class QObject;

namespace harborlite {

enum class Appearance {
    light,
    dark,
};

// One colour per appearance, chosen each time it is drawn.
struct AdaptiveColor {
    QColor light;
    QColor dark;

    // The dark value for the dark appearance; the light value otherwise.
    QColor resolve(Appearance appearance) const;

    bool operator==(const AdaptiveColor&) const = default;
};

// Gradient stops whose colours are adaptive, so one description serves both
// appearances and is never rebuilt when the appearance changes.
struct AdaptiveGradient {
    struct Stop {
        qreal position;
        const AdaptiveColor* color;
    };
    std::vector<Stop> stops;

    QGradientStops resolve(Appearance appearance) const;
};

// The single source of colour for every view and the desktop widgets. Every
// member is built once, on first use from any thread, and the same object is
// returned on every call.
namespace Palette {

const AdaptiveColor& color(PaletteRole role);

const AdaptiveColor& accent();
const AdaptiveColor& accentDeep();
const AdaptiveColor& accentBright();
const AdaptiveColor& mint();
const AdaptiveColor& mintDeep();
const AdaptiveColor& canvas();
// The window's own background; the very object canvas() returns.
const AdaptiveColor& canvasNSColor();
const AdaptiveColor& card();
const AdaptiveColor& ink();
const AdaptiveColor& inkSecondary();
const AdaptiveColor& inkTertiary();
const AdaptiveColor& hairline();
const AdaptiveColor& warning();
const AdaptiveColor& danger();
const AdaptiveColor& info();
const AdaptiveColor& gradientDeep();
const AdaptiveColor& surfaceStroke();
const AdaptiveColor& innerFill();
const AdaptiveColor& innerFillSoft();
const AdaptiveColor& hoverFill();
const AdaptiveColor& sidebarWash();
const AdaptiveColor& washTop();
const AdaptiveColor& washMiddle();
const AdaptiveColor& washBottom();

// accentBright, accent, gradientDeep, evenly spaced.
const AdaptiveGradient& accentGradient();
// accentBright, accent, gradientDeep, accentBright, evenly spaced, running
// clockwise from the trailing side (3 o'clock).
const AdaptiveGradient& dialGradient();

// The accent gradient from the top-left to the bottom-right corner of `rect`.
QLinearGradient accentGradient(const QRectF& rect, Appearance appearance);
// The dial gradient around `center`, starting at 3 o'clock and running
// clockwise; rotate the painter to start elsewhere.
QConicalGradient dialGradient(const QPointF& center, Appearance appearance);

// The desktop's appearance: dark when its palette draws text lighter than the
// window background. Light when there is no GUI application.
Appearance systemAppearance();

// The appearance the application forces on every window, if any.
std::optional<Appearance> applicationAppearance();
void setApplicationAppearance(std::optional<Appearance> appearance);

// The appearance an object (a window or any widget) forces on itself and what
// it contains, if any.
std::optional<Appearance> ownAppearance(const QObject* object);
void setOwnAppearance(QObject* object, std::optional<Appearance> appearance);

// The appearance in effect where `object` draws: the nearest of itself and its
// parents that forces one, else the application's, else the desktop's.
Appearance appearance(const QObject* object);

// The role's colour as it is drawn inside `object` right now.
QColor resolve(PaletteRole role, const QObject* object);

} // namespace Palette

} // namespace harborlite
