#include "platform/XdgCacheHome.h"

#include "platform/HomeFolder.h"

#include <QFile>

#include <cstdlib>

namespace harborlite::platform {

Seam<QString>& xdgCacheHome()
{
    static Seam<QString> seam([] {
        if (const char* env = std::getenv("XDG_CACHE_HOME"); env != nullptr && env[0] == '/') {
            return QFile::decodeName(env);
        }
        return homeFolder().get() + QStringLiteral("/.cache");
    });
    return seam;
}

} // namespace harborlite::platform
