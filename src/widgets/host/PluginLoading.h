#pragma once

#include <QString>
#include <QStringList>

namespace harborlite {

class WidgetBundle;

// Finding and loading the widget plug-in. A loaded plug-in is never unloaded:
// its providers may still run on their workers, and the host ends with it.
namespace PluginLoading {

// The plug-in's file name.
QString fileName();

// Where the host looks when it is not told: beside its own program (the build
// tree), then in the installed plug-in folder.
QStringList defaultLocations(const QString& programFolder);

struct Loaded {
    // Owned by the plug-in; none when the file cannot serve.
    WidgetBundle* bundle = nullptr;
    // Why not, for standard error.
    QString error;
};

// Loads the plug-in at `path`: a missing file, a file that is not a plug-in and
// a plug-in of another interface (or another version of ours) give an error.
Loaded load(const QString& path);

} // namespace PluginLoading

} // namespace harborlite
