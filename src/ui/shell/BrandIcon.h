#pragma once

#include <QIcon>
#include <QImage>

namespace harborlite {

// The application's icon: the brand mark in white on the accent gradient's
// rounded tile, as the sidebar shows it, in the light appearance.
QImage brandIconImage(int side);
QIcon brandIcon();

} // namespace harborlite
