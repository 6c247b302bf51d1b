#include "ui/monitor/RaisedGlass.h"

#include "ui/theme/GlassSurface.h"

#include <QPainter>
#include <QWidget>

#include <cmath>

namespace harborlite {

RaisedGlass::RaisedGlass(qreal cornerRadius, qreal shadowRadius, qreal shadowOpacity)
    : cornerRadius_(cornerRadius)
    , shadow_(shadowRadius, shadowOpacity)
{
}

QMargins RaisedGlass::margins() const
{
    const QMarginsF room = shadow_.margins();
    return {static_cast<int>(std::ceil(room.left())), static_cast<int>(std::ceil(room.top())),
            static_cast<int>(std::ceil(room.right())), static_cast<int>(std::ceil(room.bottom()))};
}

void RaisedGlass::paint(QPainter& painter, const QWidget& widget)
{
    const Appearance appearance = Palette::appearance(&widget);
    const qreal ratio = widget.devicePixelRatioF();
    const QSize pixels(static_cast<int>(std::ceil(widget.width() * ratio)),
                       static_cast<int>(std::ceil(widget.height() * ratio)));
    if (cached_.isNull() || cached_.size() != pixels || cachedAppearance_ != appearance) {
        cached_ = QPixmap(pixels);
        cached_.setDevicePixelRatio(ratio);
        cached_.fill(Qt::transparent);
        QPainter layer(&cached_);
        layer.setRenderHint(QPainter::Antialiasing);
        const QRectF surface = QRectF(widget.rect()).marginsRemoved(shadow_.margins());
        shadow_.paint(layer, surface, cornerRadius_, Palette::accentDeep().resolve(appearance));
        GlassSurface::paint(layer, surface, cornerRadius_, appearance);
        cachedAppearance_ = appearance;
    }
    painter.drawPixmap(0, 0, cached_);
}

} // namespace harborlite
