#pragma once

#include "paint/Palette.h"

#include <QColor>
#include <QRectF>
#include <QString>

#include <optional>

class QPainter;

namespace harborlite::GlassSurface {

// Qt Widgets cannot blur what lies behind a widget, so the platform's regular
// material is a neutral veil: white at 0.35 in light, the dark canvas at 0.5.
QColor material(Appearance appearance);

inline constexpr qreal kCardOpacity = 0.55;
inline constexpr qreal kTintOpacity = 0.18;
inline constexpr qreal kStrokeWidth = 0.8;

// What the glass looks like in `appearance`, as one text: its colours.
QString look(Appearance appearance, const std::optional<QColor>& tint = std::nullopt);

// The glass surface: material, card at 0.55, the tint at 0.18 when given, and
// the surface stroke 0.8 wide inside the outline.
void paint(QPainter& painter, const QRectF& rect, qreal cornerRadius, Appearance appearance,
           const std::optional<QColor>& tint = std::nullopt);

} // namespace harborlite::GlassSurface
