#include "ui/theme/LayerStack.h"

#include "ui/paintcache/PictureCache.h"
#include "ui/paintcache/SurfaceCache.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace harborlite {

void LayerStack::add(int top, int bottom, int steadyTop, int steadyBottom, Paint paint, const QString& look)
{
    if (top <= bottom) {
        layers_.push_back({top, bottom, steadyTop, steadyBottom, std::move(paint), look});
    }
}

void LayerStack::addRoundedRect(const QRect& rect, qreal cornerRadius, Paint paint, const QString& look)
{
    // The row below the top corners' last antialiased row, and the one above
    // the bottom corners' first.
    const int corner = int(std::ceil(std::min<qreal>(cornerRadius, rect.height() / 2.0))) + 1;
    add(rect.top(), rect.bottom(), rect.top() + corner, rect.bottom() - corner, std::move(paint), look);
}

void LayerStack::paint(QPainter& painter, const QRect& area) const
{
    if (area.isEmpty() || layers_.empty()) {
        return;
    }
    // Between two cuts, each layer is either absent or present on every row,
    // and either steady on every row or on none.
    std::vector<int> cuts{area.top(), area.bottom() + 1};
    for (const Layer& layer : layers_) {
        for (const int cut : {layer.top, layer.bottom + 1, layer.steadyTop, layer.steadyBottom + 1}) {
            if (cut > area.top() && cut <= area.bottom()) {
                cuts.push_back(cut);
            }
        }
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

    // At a ratio that is not whole, a row's edges fall inside device pixels:
    // the layers are drawn one by one there.
    const qreal ratio = SurfaceCache::plainRatio(painter);
    const bool flattens = ratio > 0 && ratio == std::round(ratio);
    int unflattenedTop = -1;
    const auto rowsFrom = [&](int top, int end) { return QRect(area.left(), top, area.width(), end - top); };
    for (std::size_t cut = 0; cut + 1 < cuts.size(); ++cut) {
        const int top = cuts[cut];
        const int end = cuts[cut + 1];
        int present = 0;
        bool steady = true;
        for (const Layer& layer : layers_) {
            if (layer.meets(top, end - 1)) {
                ++present;
                steady = steady && layer.steadyTop <= top && end - 1 <= layer.steadyBottom;
            }
        }
        // One layer alone blends once either way, and exactly as itself. Which
        // rows are flattened depends on the layers only, never on the area:
        // a part repainted alone gets the pixels of a repaint of everything.
        if (present > 1 && steady && flattens) {
            if (unflattenedTop >= 0) {
                paintOneByOne(painter, rowsFrom(unflattenedTop, top));
                unflattenedTop = -1;
            }
            paintFlattened(painter, rowsFrom(top, end));
        } else if (unflattenedTop < 0) {
            unflattenedTop = top;
        }
    }
    if (unflattenedTop >= 0) {
        paintOneByOne(painter, rowsFrom(unflattenedTop, area.bottom() + 1));
    }
}

void LayerStack::paintOneByOne(QPainter& painter, const QRect& rows) const
{
    painter.save();
    painter.setClipRect(rows, Qt::IntersectClip);
    for (const Layer& layer : layers_) {
        if (layer.meets(rows.top(), rows.bottom())) {
            layer.paint(painter);
        }
    }
    painter.restore();
}

void LayerStack::paintFlattened(QPainter& painter, const QRect& rows) const
{
    // The row is drawn aside and copied in device pixels: one device row
    // stands for every device row of the steady rows.
    const qreal ratio = SurfaceCache::plainRatio(painter);
    const QRect onDevice = painter.deviceTransform().mapRect(QRectF(rows)).toRect();
    std::vector<const Layer*> present;
    // Kept only where every layer names its look.
    bool named = true;
    QString look = PictureLook::of(u"stack", rows.left(), int(painter.renderHints()));
    for (const Layer& layer : layers_) {
        if (layer.meets(rows.top(), rows.top())) {
            present.push_back(&layer);
            named = named && !layer.look.isEmpty();
            look += QLatin1Char('|') + PictureLook::part(layer.look);
        }
    }
    const PictureKey key{look, QSize(onDevice.width(), 1), ratio};
    QPixmap row;
    if (!named || !PictureCache::find(key, &row)) {
        QImage drawn(onDevice.width(), 1, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        {
            QPainter onto(&drawn);
            onto.setRenderHints(painter.renderHints());
            onto.scale(ratio, ratio);
            onto.translate(-rows.left(), -rows.top());
            for (const Layer* layer : present) {
                layer->paint(onto);
            }
        }
        row = QPixmap::fromImage(std::move(drawn));
        if (named) {
            PictureCache::keep(key, row);
        }
    }
    painter.save();
    SurfaceCache::useDevicePixels(painter);
    SurfaceCache::tile(painter, onDevice, row);
    painter.restore();
}

} // namespace harborlite
