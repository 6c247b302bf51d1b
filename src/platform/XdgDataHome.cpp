#include "platform/XdgDataHome.h"

#include "platform/HomeFolder.h"

#include <QFile>

#include <cstdlib>

namespace harborlite::platform {

Seam<QString>& xdgDataHome()
{
    static Seam<QString> seam([] {
        if (const char* env = std::getenv("XDG_DATA_HOME"); env != nullptr && env[0] == '/') {
            return QFile::decodeName(env);
        }
        return homeFolder().get() + QStringLiteral("/.local/share");
    });
    return seam;
}

} // namespace harborlite::platform
