#include "ui/components/SymbolView.h"

#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"

#include <QPainter>

#include <cmath>

namespace harborlite {

SymbolView::SymbolView(const QString& symbol, qreal side, std::optional<AdaptiveColor> color, qreal opacity,
                       QWidget* parent)
    : QWidget(parent)
    , symbol_(symbol)
    , side_(side)
    , color_(std::move(color))
    , opacity_(opacity)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedSize(sizeHint());
}

QSize SymbolView::sizeHint() const
{
    const int side = static_cast<int>(std::ceil(side_));
    return {side, side};
}

void SymbolView::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF square(0, 0, side_, side_);
    if (color_) {
        Symbols::paint(painter, square, symbol_, Shapes::faded(color_->resolve(appearance), opacity_));
        return;
    }
    painter.setOpacity(opacity_);
    Symbols::paint(painter, square, symbol_, QBrush(Palette::accentGradient(square, appearance)));
}

} // namespace harborlite
