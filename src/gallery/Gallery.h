#pragma once

#include "paint/Palette.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace harborlite::Gallery {

// Every component of the design system in each of its states, on the aurora
// backdrop, drawn in `appearance`.
QWidget* build(Appearance appearance);

// Renders the gallery in light and dark into `folder` as PNG files and returns
// their paths (empty when a file could not be written).
QStringList renderToFolder(const QString& folder);

} // namespace harborlite::Gallery
