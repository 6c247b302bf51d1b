#pragma once

#include "engine/models/ScanGroup.h"
#include "paint/Palette.h"
#include "ui/components/TriStateToggle.h"

#include <QRectF>
#include <QString>

#include <optional>

class QPainter;

// The small controls of painted rows, drawn exactly as their widget
// counterparts draw themselves, so a painted row and a widget row look alike.
namespace harborlite::RowPainting {

// The box state that shows a group's selection.
TriStateToggle::State toggleState(ScanGroup::SelectionState state);

// The tri-state box (TriStateToggle's look) in a 17 square; a focus ring when `focused`.
void paintBox(QPainter& painter, const QRectF& square, ScanGroup::SelectionState state, Appearance appearance,
              bool focused);

// A StatusPill's capsule and its size.
QSizeF pillSize(const QString& text, bool hasSymbol);
void paintPill(QPainter& painter, const QRectF& rect, const QString& text, const QColor& tint,
               const std::optional<QString>& symbol);

// The plain small capsule button (card fill, surface stroke, ink title).
QSizeF buttonSize(const QString& title);
void paintPlainButton(QPainter& painter, const QRectF& rect, const QString& title, Appearance appearance, bool hovered,
                      bool focused);

} // namespace harborlite::RowPainting
