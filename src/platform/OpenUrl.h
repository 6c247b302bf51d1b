#pragma once

#include "platform/ToolTable.h"

#include <QUrl>

namespace harborlite::platform {

// Hands an absolute location to the desktop's default handler (xdg-open) and
// returns at once: true when the handler could be started.
bool openUrl(const QUrl& url, const ToolTable& tools = {});

} // namespace harborlite::platform
