#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Where the desktop keeps application icons: icon themes under each data
// folder's "icons" and the old "pixmaps" folder. Looked up as files, so the
// lookup runs on any thread.
namespace harborlite::platform {

// Folders holding icon themes: the user's data folder's "icons", each of
// $XDG_DATA_DIRS' (default /usr/local/share and /usr/share), and the exports of
// the user's and the system's Flatpak installations.
QStringList iconThemeFolders();

// Folders holding loose icons (/usr/share/pixmaps).
QStringList pixmapFolders();

// The file of an application icon as a desktop entry names it: an absolute
// path that names a regular file as it is; a plain name looked up in the
// hicolor theme, then Adwaita (scalable first, then the sharpest sizes), then
// among the loose icons. None when nothing is found or the name could lead
// out of the folders.
std::optional<QString> applicationIconFile(const QString& iconName,
                                           const QStringList& themeFolders = iconThemeFolders(),
                                           const QStringList& looseFolders = pixmapFolders());

} // namespace harborlite::platform
