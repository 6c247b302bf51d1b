#include "ui/components/StatusPill.h"

#include "ui/paintcache/SurfaceCache.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QPainter>

#include <cmath>

namespace harborlite {

StatusPill::StatusPill(const QString& text, const AdaptiveColor& tint, std::optional<QString> symbol, QWidget* parent)
    : QWidget(parent)
    , text_(text)
    , tint_(tint)
    , symbol_(std::move(symbol))
{
    setFont(TypeStyle::pill());
    setAccessibleName(text);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSizeF StatusPill::size(const QSizeF& textSize, bool hasSymbol)
{
    const qreal content = textSize.width() + (hasSymbol ? kSymbolSide + kSpacing : 0);
    const qreal height = std::max(textSize.height(), hasSymbol ? kSymbolSide : 0.0);
    return {content + 2 * kHorizontalPadding, height + 2 * kVerticalPadding};
}

QSizeF StatusPill::textSize() const
{
    const QFontMetricsF metrics(font());
    return {metrics.horizontalAdvance(text_), metrics.height()};
}

QSize StatusPill::sizeHint() const
{
    const QSizeF made = size(textSize(), symbol_.has_value());
    return {static_cast<int>(std::ceil(made.width())), static_cast<int>(std::ceil(made.height()))};
}

QSize StatusPill::minimumSizeHint() const
{
    return sizeHint();
}

void StatusPill::paintEvent(QPaintEvent*)
{
    const QColor tint = tint_.resolve(Palette::appearance(this));
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect();
    // From cached pixels: a filled outline this small still goes to the
    // raster engine's thread pool, and the pills repaint with every scroll.
    SurfaceCache::fill(painter, area, area.height() / 2, Shapes::faded(tint, kFillOpacity));
    qreal x = area.left() + kHorizontalPadding;
    if (symbol_) {
        Symbols::paint(painter, QRectF(x, area.center().y() - kSymbolSide / 2, kSymbolSide, kSymbolSide), *symbol_,
                       tint);
        x += kSymbolSide + kSpacing;
    }
    painter.setFont(font());
    painter.setPen(tint);
    painter.drawText(QRectF(x, area.top(), area.right() - x, area.height()), Qt::AlignLeft | Qt::AlignVCenter, text_);
}

} // namespace harborlite
