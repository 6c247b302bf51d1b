#include "ui/paintcache/SurfaceCache.h"

#include "ui/paintcache/PictureCache.h"
#include "ui/paintcache/ProbeAndBand.h"
#include "ui/paintcache/RowBands.h"
#include "ui/theme/Shapes.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <utility>

namespace harborlite::SurfaceCache {

namespace {

bool isWhole(qreal value)
{
    return std::abs(value - std::round(value)) < 1e-6;
}

// Fills narrower than this are left to the copy: too little to gain.
constexpr int kLeastFill = 32;

// The widest run of one pixel value along the row: its first and past-last columns.
std::pair<int, int> widestRun(const QRgb* row, int width)
{
    std::pair<int, int> widest{0, 0};
    for (int start = 0; start < width;) {
        int end = start + 1;
        while (end < width && row[end] == row[start]) {
            ++end;
        }
        if (end - start > widest.second - widest.first) {
            widest = {start, end};
        }
        start = end;
    }
    return widest;
}

} // namespace

void tile(QPainter& painter, const QRect& rows, const QPixmap& band)
{
    const auto copy = [&](const QRect& part, int fromColumn) {
        RowBands::forEach(part,
                          [&](const QRect& piece) { painter.drawTiledPixmap(piece, band, QPoint(fromColumn, 0)); });
    };
    const QImage pixels = band.toImage();
    if (pixels.format() != QImage::Format_ARGB32_Premultiplied || pixels.width() != rows.width()
        || !drawsPlainly(painter)) {
        copy(rows, 0);
        return;
    }
    const auto [first, last] = widestRun(reinterpret_cast<const QRgb*>(pixels.constScanLine(0)), pixels.width());
    const QRgb premultiplied = reinterpret_cast<const QRgb*>(pixels.constScanLine(0))[first];
    // The fill takes a colour that is not premultiplied; only one that comes
    // back to the very same pixel blends exactly as the copy would.
    const QRgb colour = qUnpremultiply(premultiplied);
    if (last - first < kLeastFill || qPremultiply(colour) != premultiplied) {
        copy(rows, 0);
        return;
    }
    copy(QRect(rows.left(), rows.top(), first, rows.height()), 0);
    copy(QRect(rows.left() + last, rows.top(), rows.width() - last, rows.height()), last);
    if (qAlpha(premultiplied) != 0) {
        const QColor fill = QColor::fromRgba(colour);
        RowBands::forEach(QRect(rows.left() + first, rows.top(), last - first, rows.height()),
                          [&](const QRect& piece) { painter.fillRect(piece, fill); });
    }
}

qreal scaleRatio(const QPainter& painter)
{
    const QTransform transform = painter.deviceTransform();
    const bool plain = painter.opacity() == 1 && painter.compositionMode() == QPainter::CompositionMode_SourceOver
        && transform.type() <= QTransform::TxScale && transform.m11() > 0 && transform.m11() == transform.m22();
    return plain ? transform.m11() : 0;
}

qreal plainRatio(const QPainter& painter)
{
    const QTransform transform = painter.deviceTransform();
    return isWhole(transform.dx()) && isWhole(transform.dy()) ? scaleRatio(painter) : 0;
}

bool drawsPlainly(const QPainter& painter)
{
    return plainRatio(painter) > 0;
}

bool onWholePixels(const QRectF& rect)
{
    return isWhole(rect.x()) && isWhole(rect.y()) && isWhole(rect.width()) && isWhole(rect.height());
}

void useDevicePixels(QPainter& painter)
{
    // The device transform is the world transform followed by the device's
    // own scale and shift: undoing the whole of it leaves device pixels.
    painter.setWorldTransform(painter.deviceTransform().inverted() * painter.worldTransform());
}

void fill(QPainter& painter, const QRectF& rect, qreal cornerRadius, const QColor& color)
{
    draw(painter, rect, cornerRadius, PictureLook::of(u"fill", color),
         [&color](QPainter& onto, const QRectF& surface, qreal radius) {
             onto.save();
             onto.setRenderHint(QPainter::Antialiasing);
             onto.fillPath(Shapes::roundedRect(surface, radius), color);
             onto.restore();
         });
}

void disc(QPainter& painter, const QRectF& rect, const QColor& color)
{
    draw(painter, rect, std::min(rect.width(), rect.height()) / 2, PictureLook::of(u"disc", color),
         [&color](QPainter& onto, const QRectF& surface, qreal) {
             onto.save();
             onto.setRenderHint(QPainter::Antialiasing);
             onto.setPen(Qt::NoPen);
             onto.setBrush(color);
             onto.drawEllipse(surface);
             onto.restore();
         });
}

void draw(QPainter& painter, const QRectF& rect, qreal cornerRadius, const QString& look, const Painter& paint)
{
    const qreal ratio = plainRatio(painter);
    const QRectF onDevice = painter.deviceTransform().mapRect(rect);
    if (ratio <= 0 || !onWholePixels(onDevice) || rect.isEmpty()) {
        paint(painter, rect, cornerRadius);
        return;
    }
    const QRect target = onDevice.toRect();
    // Rows from `split` down to the height less `split` lie below and above
    // the corners: each is the same as the next.
    const int split = int(std::ceil(std::min<qreal>(cornerRadius * ratio, target.height() / 2.0))) + 1;
    const int probeHeight = 2 * split + ProbeAndBand::kBandRows;
    const PictureKey key{PictureLook::of(u"surface", look, cornerRadius),
                         QSize(target.width(), std::min(target.height(), probeHeight)), ratio};
    const auto paintAside = [&](QPainter& onto) {
        paint(onto, QRectF(QPointF(0, 0), QSizeF(key.size) / ratio), cornerRadius);
    };
    if (target.height() > probeHeight) {
        ProbeAndBand::draw(painter, rect, {key, split, split}, paintAside);
        return;
    }
    // A short surface seen once is painted directly: many are drawn only as
    // a screen first shows, and drawing one into the cache first would cost
    // that first paint a second pass.
    if (!PictureCache::seenBefore(key)) {
        paint(painter, rect, cornerRadius);
        return;
    }
    const QPixmap surface = PictureCache::made(key, paintAside);
    painter.save();
    useDevicePixels(painter);
    painter.drawPixmap(target.topLeft(), surface);
    painter.restore();
}

} // namespace harborlite::SurfaceCache
