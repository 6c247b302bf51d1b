#pragma once

#include "platform/ToolTable.h"

#include <QStringList>

namespace harborlite::platform {

// Shows the items selected in the desktop's file manager through its D-Bus
// interface (org.freedesktop.FileManager1.ShowItems); when no file manager
// answers, opens the folder holding the first item with the table's xdgOpen
// instead. Returns at once.
void revealInFileManager(const QStringList& paths, const ToolTable& tools = {});

} // namespace harborlite::platform
