#pragma once

#include <QString>

// The absolute folders of the machine layout the scanners and services know.
// Scanners and services take their roots as settings defaulting to these, so
// tests point them at fixture trees.
namespace harborlite::roots {

inline const QString applications = QStringLiteral("/Applications");
inline const QString utilities = QStringLiteral("/Applications/Utilities");
inline const QString systemApplications = QStringLiteral("/System/Applications");
inline const QString sharedLibrary = QStringLiteral("/Library");
inline const QString users = QStringLiteral("/Users");
inline const QString volumes = QStringLiteral("/Volumes");
inline const QString privateRoot = QStringLiteral("/private");
inline const QString privateTmp = QStringLiteral("/private/tmp");
inline const QString privateVar = QStringLiteral("/private/var");

} // namespace harborlite::roots
