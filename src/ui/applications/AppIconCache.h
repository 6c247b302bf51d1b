#pragma once

#include "engine/models/InstalledApp.h"
#include "ui/components/ScreenServices.h"
#include "ui/paintcache/PictureKey.h"

#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QSet>

#include <memory>

namespace harborlite {

class BackgroundRunner;

// Application icons for the list and the pane, loaded on workers: the icon a
// desktop entry names, else the desktop's icon for the application's file.
// Each icon is loaded once per size and device pixel ratio; until it has
// arrived the file's icon stands in.
class AppIconCache : public QObject {
    Q_OBJECT

public:
    AppIconCache(const ScreenServices& services, std::shared_ptr<BackgroundRunner> runner, QObject* parent = nullptr);

    // The icon `side` logical pixels square at the device pixel ratio;
    // starts loading it when it is not there yet.
    QPixmap icon(const InstalledApp& app, int side, qreal devicePixelRatio);

    // Loads still under way.
    qsizetype pendingCount() const { return pending_.size(); }

signals:
    // An icon arrived; whoever draws icons draws again.
    void iconLoaded();

private:
    QPixmap fileIcon(const InstalledApp& app, int side, qreal devicePixelRatio);

    ScreenServices services_;
    std::shared_ptr<BackgroundRunner> runner_;
    QHash<PictureKey, QPixmap> loaded_;
    QSet<PictureKey> missing_;
    QSet<PictureKey> pending_;
    QHash<PictureKey, QPixmap> fileIcons_;
};

} // namespace harborlite
