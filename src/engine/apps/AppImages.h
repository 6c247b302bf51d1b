#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// AppImages: applications that are one self-contained file. They are read by
// their names alone and never executed.
namespace harborlite::AppImages {

// Whether the file name is an AppImage's: something followed by
// ".AppImage" in any letter case.
bool isAppImageName(const QString& fileName);

struct NameAndVersion {
    QString name;
    // None when the name holds no version.
    std::optional<QString> version;
};

// Name and version as AppImages are usually named, "Name-1.2.3-x86_64.AppImage":
// the extension and a trailing architecture or "linux" dropped, the version
// starting at the first piece (pieces split at "-", "_" and blanks) that starts
// with a digit, or with "v" and a digit (the "v" dropped). Without such a piece
// the whole rest is the name.
NameAndVersion fromFileName(const QString& fileName);

// The AppImages directly inside the folders, in folder order and byte order of
// names: regular files only, never symbolic links. A missing folder adds
// nothing; names that are not UTF-8 keep their bytes (FS::children).
QStringList find(const QStringList& folders);

// The desktop entries directly inside `entriesFolder` (regular files named
// "*.desktop") whose Exec program is the AppImage itself, by path.
QStringList desktopEntriesLaunching(const QString& appImage, const QString& entriesFolder);

} // namespace harborlite::AppImages
