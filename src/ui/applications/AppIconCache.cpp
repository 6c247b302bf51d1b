#include "ui/applications/AppIconCache.h"

#include "model/BackgroundRunner.h"

#include <cmath>

namespace harborlite {

AppIconCache::AppIconCache(const ScreenServices& services, std::shared_ptr<BackgroundRunner> runner, QObject* parent)
    : QObject(parent)
    , services_(services)
    , runner_(std::move(runner))
{
    // File icons start as placeholders until the desktop knows the file's kind.
    if (services_.whenIconsArrive) {
        services_.whenIconsArrive(this, [this](const QStringList&) {
            fileIcons_.clear();
            emit iconLoaded();
        });
    }
}

QPixmap AppIconCache::fileIcon(const InstalledApp& app, int side, qreal devicePixelRatio)
{
    const PictureKey key{PictureLook::of(u"file-icon", app.url), QSize(side, side), devicePixelRatio};
    if (const auto found = fileIcons_.constFind(key); found != fileIcons_.constEnd()) {
        return *found;
    }
    const QIcon icon = services_.iconForFile ? services_.iconForFile(app.url) : QIcon();
    QPixmap pixmap = icon.isNull() ? QPixmap() : icon.pixmap(QSize(side, side), devicePixelRatio);
    fileIcons_.insert(key, pixmap);
    return pixmap;
}

QPixmap AppIconCache::icon(const InstalledApp& app, int side, qreal devicePixelRatio)
{
    if (app.iconName.isEmpty() || !services_.applicationIcon || !runner_) {
        return fileIcon(app, side, devicePixelRatio);
    }
    const int pixels = static_cast<int>(std::ceil(side * devicePixelRatio));
    const PictureKey key{PictureLook::of(u"app-icon", app.iconName), QSize(pixels, pixels), devicePixelRatio};
    if (const auto found = loaded_.constFind(key); found != loaded_.constEnd()) {
        return *found;
    }
    if (!missing_.contains(key) && !pending_.contains(key)) {
        pending_.insert(key);
        runner_->run(
            TaskPriority::utility, this,
            [load = services_.applicationIcon, name = app.iconName, pixels] { return load(name, pixels); },
            [this, key, devicePixelRatio](QImage image) {
                pending_.remove(key);
                if (image.isNull()) {
                    missing_.insert(key);
                } else {
                    QPixmap pixmap = QPixmap::fromImage(std::move(image));
                    pixmap.setDevicePixelRatio(devicePixelRatio);
                    loaded_.insert(key, pixmap);
                }
                emit iconLoaded();
            });
    }
    return fileIcon(app, side, devicePixelRatio);
}

} // namespace harborlite
