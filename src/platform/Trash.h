#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The freedesktop.org Trash. A trash can is a folder holding `files` (the
// trashed items) and `info` (one "<name>.trashinfo" per item, giving its
// original path and deletion date). The home trash can is <xdgDataHome>/Trash;
// a volume's cans are <top>/.Trash/<uid> (only when .Trash is a real folder with
// the sticky bit) and <top>/.Trash-<uid>, where <top> is the volume's mount point.
namespace harborlite::platform::Trash {

// <xdgDataHome>/Trash.
QString homeTrash();

// The user's trash cans on the volume mounted at `top` that exist and may be
// used (real folders of the user's own), in that order. Nothing is created.
QStringList volumeTrashes(const QString& top);

struct MoveResult {
    QString trashedAs; // where the item now is, inside a `files` folder
    std::optional<QString> failure; // why it was not moved; then nothing changed
};

// Moves the item (a link moves as itself) into the trash can of its volume,
// the longest of platform::mountPoints() at or above the folder that really
// holds it: the home can when the home can lies on that volume too (created
// when missing), else the volume's shared .Trash folder for the user or its
// .Trash-<uid>, either created (mode 0700) when missing. The info file is
// written first under a name no other item uses ("name", "name.2", ...), with
// the location as planned, absolute in the home can and relative to the
// volume's top in a volume can. Never copies: an item that no trash can on its
// own volume can take is a failure. The way to the item is opened without
// following links (PlannedWay): a link on it is a failure, never a detour.
MoveResult moveToTrash(const QString& location);

// The same for an item whose folder the caller already opened on the planned
// way: the item is renamed out of `parentFolder`, never reached by its path.
MoveResult moveToTrash(const QString& location, int parentFolder);

// The info file of an entry lying directly in a trash can's `files` folder (the
// home can, or a volume can of the user); absent for any other location.
std::optional<QString> infoFileOf(const QString& location);

// Whether the location lies below (not at) the `files` folder of a trash can
// of the user: it has already been moved to the Trash.
bool isInsideTrash(const QString& location);

} // namespace harborlite::platform::Trash
