#include "ui/components/PlainSymbolButton.h"

#include "ui/theme/Symbols.h"

#include <QPainter>

#include <cmath>

namespace harborlite {

namespace {

// Room around the glyph so the pointer finds it.
constexpr int kHitMargin = 4;

} // namespace

PlainSymbolButton::PlainSymbolButton(const QString& symbol, qreal pixelSize, const AdaptiveColor& color,
                                     QWidget* parent)
    : QAbstractButton(parent)
    , symbol_(symbol)
    , pixelSize_(pixelSize)
    , color_(color)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize PlainSymbolButton::sizeHint() const
{
    const int side = static_cast<int>(std::ceil(pixelSize_)) + 2 * kHitMargin;
    return {side, side};
}

void PlainSymbolButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isDown() ? 0.6 : 1.0);
    const QRectF square((width() - pixelSize_) / 2, (height() - pixelSize_) / 2, pixelSize_, pixelSize_);
    Symbols::paint(painter, square, symbol_, color_.resolve(Palette::appearance(this)));
}

} // namespace harborlite
