#include "ui/paintcache/PictureCache.h"

#include <QImage>
#include <QPainter>
#include <QPixmapCache>

#include <utility>

namespace harborlite::PictureCache {

bool find(const PictureKey& key, QPixmap* found)
{
    return QPixmapCache::find(key.text(), found);
}

void keep(const PictureKey& key, const QPixmap& picture)
{
    QPixmapCache::insert(key.text(), picture);
}

QPixmap made(const PictureKey& key, const std::function<void(QPainter& painter)>& paint)
{
    const QString text = key.text();
    QPixmap picture;
    if (QPixmapCache::find(text, &picture)) {
        return picture;
    }
    QImage image(key.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.scale(key.ratio, key.ratio);
        paint(painter);
    }
    picture = QPixmap::fromImage(std::move(image));
    QPixmapCache::insert(text, picture);
    return picture;
}

bool seenBefore(const PictureKey& key)
{
    const QString text = key.text();
    // The mark is a key of its own: no look of ours is written this way.
    const QString seen = text + QStringLiteral("|seen");
    QPixmap found;
    if (QPixmapCache::find(text, &found) || QPixmapCache::find(seen, &found)) {
        return true;
    }
    QPixmapCache::insert(seen, QPixmap(1, 1));
    return false;
}

} // namespace harborlite::PictureCache
