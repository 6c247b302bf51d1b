#pragma once

#include "ui/paintcache/PictureKey.h"

#include <QPixmap>

#include <functional>

class QPainter;

namespace harborlite::PictureCache {

// Pictures kept in Qt's pixmap cache by their key: by look, not by the
// widget that draws them, so a screen made anew finds its pictures ready.

// The picture kept under `key`, if any.
bool find(const PictureKey& key, QPixmap* found);

void keep(const PictureKey& key, const QPixmap& picture);

// The picture kept under `key`, else `paint` drawing onto a clear image of
// the key's size, scaled by its ratio (so it paints in logical pixels), kept.
QPixmap made(const PictureKey& key, const std::function<void(QPainter& painter)>& paint);

// Whether a picture is worth keeping under `key`: one is kept there already,
// or it was asked for before. The first time, the key is only marked seen
// and the answer is no: a picture drawn once, as a screen first shows, is
// cheaper drawn directly than drawn aside and copied.
bool seenBefore(const PictureKey& key);

} // namespace harborlite::PictureCache
