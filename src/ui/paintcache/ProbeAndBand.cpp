#include "ui/paintcache/ProbeAndBand.h"

#include "ui/paintcache/PictureCache.h"
#include "ui/paintcache/SurfaceCache.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <cstring>
#include <utility>

namespace harborlite::ProbeAndBand {

namespace {

QPixmap band(const Probe& probe, const QPixmap& picture)
{
    const PictureKey key{PictureLook::of(u"band", probe.key.look, probe.key.size.height(), probe.topRows),
                         QSize(probe.key.size.width(), kBandRows), probe.key.ratio};
    QPixmap kept;
    if (PictureCache::find(key, &kept)) {
        return kept;
    }
    const QImage pixels = picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage rows(key.size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < kBandRows; ++y) {
        std::memcpy(rows.scanLine(y), pixels.constScanLine(probe.topRows), std::size_t(rows.bytesPerLine()));
    }
    kept = QPixmap::fromImage(std::move(rows));
    PictureCache::keep(key, kept);
    return kept;
}

} // namespace

void draw(QPainter& painter, const QRectF& rect, const Probe& probe, const std::function<void(QPainter&)>& paint)
{
    const QPixmap picture = PictureCache::made(probe.key, paint);
    const int width = picture.width();
    const int height = picture.height();
    const QRectF onDevice = painter.deviceTransform().mapRect(rect);
    if (SurfaceCache::plainRatio(painter) == probe.key.ratio && SurfaceCache::onWholePixels(onDevice)) {
        const QRect target = onDevice.toRect();
        const int middle = target.height() - probe.topRows - probe.bottomRows;
        painter.save();
        SurfaceCache::useDevicePixels(painter);
        painter.drawPixmap(QRect(target.left(), target.top(), width, probe.topRows), picture,
                           QRect(0, 0, width, probe.topRows));
        if (middle > 0) {
            SurfaceCache::tile(painter, QRect(target.left(), target.top() + probe.topRows, width, middle),
                               band(probe, picture));
        }
        painter.drawPixmap(QRect(target.left(), target.bottom() + 1 - probe.bottomRows, width, probe.bottomRows),
                           picture, QRect(0, height - probe.bottomRows, width, probe.bottomRows));
        painter.restore();
        return;
    }
    const qreal ratio = probe.key.ratio;
    const qreal top = probe.topRows / ratio;
    const qreal bottom = probe.bottomRows / ratio;
    painter.drawPixmap(QRectF(rect.left(), rect.top(), rect.width(), top), picture, QRectF(0, 0, width, probe.topRows));
    painter.drawPixmap(QRectF(rect.left(), rect.bottom() - bottom, rect.width(), bottom), picture,
                       QRectF(0, height - probe.bottomRows, width, probe.bottomRows));
    if (const qreal middle = rect.height() - top - bottom; middle > 0) {
        painter.drawPixmap(QRectF(rect.left(), rect.top() + top, rect.width(), middle), picture,
                           QRectF(0, probe.topRows, width, 1));
    }
}

} // namespace harborlite::ProbeAndBand
