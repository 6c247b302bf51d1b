#include "platform/XdgConfigHome.h"

#include "platform/HomeFolder.h"
#include "platform/PathText.h"

#include <cstdlib>

namespace harborlite::platform {

Seam<QString>& xdgConfigHome()
{
    static Seam<QString> seam([] {
        // A substituted home takes its configuration folder along.
        if (homeFolder().isOverridden()) {
            return homeFolder().get() + QStringLiteral("/.config");
        }
        if (const char* env = std::getenv("XDG_CONFIG_HOME"); env != nullptr && env[0] == '/') {
            return pathText(std::string_view(env));
        }
        return homeFolder().get() + QStringLiteral("/.config");
    });
    return seam;
}

Seam<QStringList>& currentDesktops()
{
    static Seam<QStringList> seam([] {
        const char* env = std::getenv("XDG_CURRENT_DESKTOP");
        return env == nullptr ? QStringList() : QString::fromUtf8(env).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    });
    return seam;
}

} // namespace harborlite::platform
