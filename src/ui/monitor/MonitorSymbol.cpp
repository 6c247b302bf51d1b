#include "ui/monitor/MonitorSymbol.h"

#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"

#include <QPainter>

#include <cmath>

namespace harborlite {

MonitorSymbol::MonitorSymbol(const QString& symbol, qreal symbolSide, qreal side, qreal backdropOpacity,
                             QWidget* parent)
    : QWidget(parent)
    , symbol_(symbol)
    , symbolSide_(symbolSide)
    , backdropOpacity_(backdropOpacity)
    , tint_(Palette::accent())
{
    const int whole = static_cast<int>(std::ceil(side));
    setFixedSize(whole, whole);
}

void MonitorSymbol::setTint(const AdaptiveColor& tint)
{
    if (tint.light == tint_.light && tint.dark == tint_.dark) {
        return;
    }
    tint_ = tint;
    update();
}

void MonitorSymbol::paintEvent(QPaintEvent*)
{
    const QColor tint = tint_.resolve(Palette::appearance(this));
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect();
    if (backdropOpacity_ > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Shapes::faded(tint, backdropOpacity_));
        painter.drawEllipse(area);
    }
    const qreal ratio = devicePixelRatioF();
    if (cached_.isNull() || cachedColor_ != tint || cached_.devicePixelRatio() != ratio) {
        cached_ = Symbols::pixmap(symbol_, symbolSide_, tint, ratio);
        cachedColor_ = tint;
    }
    QRectF square(0, 0, symbolSide_, symbolSide_);
    square.moveCenter(area.center());
    painter.drawPixmap(square.topLeft(), cached_);
}

} // namespace harborlite
