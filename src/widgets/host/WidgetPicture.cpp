#include "widgets/host/WidgetPicture.h"

#include "widgets/kit/WidgetView.h"

#include <QPainter>
#include <QStringList>

namespace harborlite::WidgetPicture {

QImage render(WidgetView& view, qreal devicePixelRatio)
{
    QImage image(view.size() * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QPainterPath frame(const QRectF& rect)
{
    QPainterPath path;
    path.addRoundedRect(rect, kCornerRadius, kCornerRadius);
    return path;
}

void paint(QPainter& painter, const QRectF& rect, const QImage& picture)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipPath(frame(rect));
    painter.drawImage(rect, picture);
    painter.restore();
}

QString accessibleSummary(const WidgetView& view)
{
    QStringList parts;
    for (const QWidget* child : view.findChildren<QWidget*>()) {
        if (child->accessibleName().isEmpty()) {
            continue;
        }
        parts.append(child->accessibleDescription().isEmpty()
                         ? child->accessibleName()
                         : child->accessibleName() + QStringLiteral(": ") + child->accessibleDescription());
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace harborlite::WidgetPicture
