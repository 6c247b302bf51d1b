#include "ui/components/DisabledLayer.h"

#include "ui/components/GlassCompatButton.h"

#include <QImage>
#include <QPainter>

namespace harborlite::DisabledLayer {

void paint(QPainter& painter, QSize size, qreal ratio, const std::function<void(QPainter&)>& draw)
{
    QImage layer((QSizeF(size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    {
        QPainter onto(&layer);
        draw(onto);
    }
    painter.save();
    painter.setOpacity(GlassCompatButtonStyle::kDisabledOpacity);
    painter.drawImage(QPointF(0, 0), layer);
    painter.restore();
}

} // namespace harborlite::DisabledLayer
