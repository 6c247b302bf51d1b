#include "platform/OpenUrl.h"

#include <QProcess>

namespace harborlite::platform {

bool openUrl(const QUrl& url, const ToolTable& tools)
{
    // A relative location would reach the handler as a file name or an option.
    if (!url.isValid() || url.isRelative()) {
        return false;
    }
    return QProcess::startDetached(tools.xdgOpen, {url.toString(QUrl::FullyEncoded)});
}

} // namespace harborlite::platform
