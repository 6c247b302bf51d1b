#pragma once

#include <QBrush>
#include <QPixmap>
#include <QString>

#include <optional>
#include <vector>

class QPainter;
class QRectF;

namespace harborlite::Symbols {

// The icon theme every symbol is drawn from (Debian's adwaita-icon-theme).
inline constexpr char kThemeName[] = "Adwaita";

// Adds /usr/share/icons to the icon search path and selects the theme; the
// offscreen and minimal platforms know no icon theme of their own.
void useIconTheme();

// Every system symbol name the system draws, in name order.
const std::vector<QString>& names();

// Whether the name is one of names().
bool isCatalogued(const QString& symbol);

// Whether the symbol is painted by the system itself (PaintedSymbols) rather
// than taken from the theme, because the theme has nothing of its meaning.
bool isPainted(const QString& symbol);

// The theme icon standing for a symbol name; none for a painted symbol and
// for a name not in names().
std::optional<QString> themeIconName(const QString& symbol);

// Whether the symbol is drawn as catalogued: painted, or the theme has its icon.
bool resolves(const QString& symbol);

// The symbol in a square of `pixelSize` filled with `brush` (a colour or a
// gradient over the square); the painted fallback glyph when the theme lacks
// the icon or the name is unknown, so something is always drawn.
QPixmap pixmap(const QString& symbol, qreal pixelSize, const QBrush& brush, qreal devicePixelRatio);

// Draws the symbol into `square` with `brush`.
void paint(QPainter& painter, const QRectF& square, const QString& symbol, const QBrush& brush);

} // namespace harborlite::Symbols
