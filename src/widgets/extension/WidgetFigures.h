#pragma once

#include "shared/PaletteRole.h"

#include <QString>

namespace harborlite {

// What a ring shows (WidgetRing).
struct RingFigure {
    double fraction = 0;
    PaletteRole tint = PaletteRole::accent;
    QString caption;
    QString value;

    bool operator==(const RingFigure&) const = default;
};

// What a bar shows (WidgetBar).
struct BarFigure {
    QString title;
    QString detail;
    double fraction = 0;
    PaletteRole tint = PaletteRole::accent;

    bool operator==(const BarFigure&) const = default;
};

// What a two-line figure shows (LabelledFigure); the title as given, drawn in
// upper case.
struct LabelledValue {
    QString title;
    QString value;
    PaletteRole color = PaletteRole::ink;

    bool operator==(const LabelledValue&) const = default;
};

} // namespace harborlite
