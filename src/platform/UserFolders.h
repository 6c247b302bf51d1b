#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace harborlite::platform {

// The user's own folders as the desktop names them (xdg-user-dirs), in the
// user's language: "Bilder", "Vidéos", "Видео".
enum class UserFolder { desktop, download, documents, music, pictures, videos, publicShare, templates };

// The folder's path relative to the home folder, read from
// <xdgConfigHome>/user-dirs.dirs ("$HOME/Bilder", or an absolute path inside
// the home). A folder the file does not name takes its default name
// ("Desktop", "Downloads", "Documents", "Music", "Pictures", "Videos",
// "Public", "Templates"). None when the file names the home itself (the
// desktop's way of switching a folder off) or a place outside the home: only
// folders strictly inside the home are ever returned. Whether the folder
// exists is not checked. The file is read again only when it changes.
std::optional<QString> userFolder(UserFolder folder);

// The relative paths of `folders`, in the order given, leaving out the ones
// that have none and those already in `known` or met before.
QStringList userFolders(std::initializer_list<UserFolder> folders, const QStringList& known = {});

// The parser behind userFolder(): the relative path `contents` (the text of a
// user-dirs.dirs file of the home `home`) gives `folder`, with the same rules.
std::optional<QString> userFolderIn(const QString& contents, const QString& home, UserFolder folder);

} // namespace harborlite::platform
