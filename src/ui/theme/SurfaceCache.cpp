#include "ui/theme/SurfaceCache.h"

#include "ui/theme/RowBands.h"
#include "ui/theme/Shapes.h"

#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>

#include <cmath>

namespace harborlite::SurfaceCache {

namespace {

// Rows of the middle kept for a tall surface: tiled over its middle.
constexpr int kBandRows = 32;

bool isWhole(qreal value)
{
    return std::abs(value - std::round(value)) < 1e-6;
}

QPixmap rendered(const QString& key, QSize size, qreal radius, const Painter& paint)
{
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) {
        return pixmap;
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        paint(painter, QRectF(QPointF(0, 0), QSizeF(size)), radius);
    }
    pixmap = QPixmap::fromImage(std::move(image));
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

} // namespace

bool drawsPlainly(const QPainter& painter)
{
    const QTransform transform = painter.deviceTransform();
    return painter.opacity() == 1 && painter.compositionMode() == QPainter::CompositionMode_SourceOver
        && transform.type() <= QTransform::TxTranslate && isWhole(transform.dx()) && isWhole(transform.dy());
}

void fill(QPainter& painter, const QRectF& rect, qreal cornerRadius, const QColor& color)
{
    draw(painter, rect, cornerRadius, QStringLiteral("fill-%1").arg(color.rgba()),
         [&color](QPainter& onto, const QRectF& surface, qreal radius) {
             onto.save();
             onto.setRenderHint(QPainter::Antialiasing);
             onto.fillPath(Shapes::roundedRect(surface, radius), color);
             onto.restore();
         });
}

void draw(QPainter& painter, const QRectF& rect, qreal cornerRadius, const QString& key, const Painter& paint)
{
    if (!drawsPlainly(painter) || !isWhole(rect.x()) || !isWhole(rect.y()) || !isWhole(rect.width())
        || !isWhole(rect.height()) || rect.isEmpty()) {
        paint(painter, rect, cornerRadius);
        return;
    }
    const QRect target = rect.toRect();
    // Rows from `split` down to the height less `split` lie below and above
    // the corners: each is the same as the next.
    const int split = int(std::ceil(std::min<qreal>(cornerRadius, target.height() / 2.0))) + 1;
    const int probeHeight = 2 * split + kBandRows;
    const QString named = QStringLiteral("harborlite-surface-%1-%2x%3-%4")
                              .arg(key)
                              .arg(target.width())
                              .arg(std::min(target.height(), probeHeight))
                              .arg(cornerRadius);
    if (target.height() <= probeHeight) {
        // A short surface seen once is painted directly: many are drawn only
        // as a screen first shows, and drawing one into the cache first would
        // cost that first paint a second pass.
        QPixmap whole;
        const QString seen = named + QStringLiteral("-seen");
        if (!QPixmapCache::find(named, &whole) && !QPixmapCache::find(seen, &whole)) {
            QPixmapCache::insert(seen, QPixmap(1, 1));
            paint(painter, rect, cornerRadius);
            return;
        }
        painter.drawPixmap(target.topLeft(), rendered(named, target.size(), cornerRadius, paint));
        return;
    }
    const QPixmap probe = rendered(named, QSize(target.width(), probeHeight), cornerRadius, paint);
    const int width = target.width();
    const QString bandKey = named + QStringLiteral("-band");
    QPixmap band;
    if (!QPixmapCache::find(bandKey, &band)) {
        band = probe.copy(0, split, width, kBandRows);
        QPixmapCache::insert(bandKey, band);
    }
    painter.drawPixmap(QRect(target.left(), target.top(), width, split), probe, QRect(0, 0, width, split));
    RowBands::forEach(QRect(target.left(), target.top() + split, width, target.height() - 2 * split),
                      [&](const QRect& rows) { painter.drawTiledPixmap(rows, band); });
    painter.drawPixmap(QRect(target.left(), target.bottom() + 1 - split, width, split), probe,
                       QRect(0, probeHeight - split, width, split));
}

} // namespace harborlite::SurfaceCache
