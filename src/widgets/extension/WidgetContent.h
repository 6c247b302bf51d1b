#pragma once

#include <vector>

class QBoxLayout;
class QLayout;
class QWidget;

namespace harborlite {

struct BarFigure;
struct LabelledValue;
struct RingFigure;

// The pieces the entry views assemble their layouts from. Every view paints the
// widget backdrop over its whole size behind content kept inside the margin,
// and builds its content anew for each entry.
namespace WidgetContent {

// Empties `layout`, deleting the widgets and layouts it holds.
void clear(QLayout* layout);

QWidget* ring(const RingFigure& figure);
QWidget* bar(const BarFigure& figure);
QWidget* labelled(const LabelledValue& figure);

// A row of rings `spacing` apart; the rings' stroke room is taken back from the
// row's edges and from the spacing, so the rings' frames sit where a row of
// bare 50 × 50 frames would.
QBoxLayout* ringRow(const std::vector<RingFigure>& rings, int spacing);

} // namespace WidgetContent

} // namespace harborlite
