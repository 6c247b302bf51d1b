#include "platform/XdgDataHome.h"

#include "platform/HomeFolder.h"
#include "platform/PathText.h"

#include <cstdlib>

namespace harborlite::platform {

Seam<QString>& xdgDataHome()
{
    static Seam<QString> seam([] {
        // A substituted home takes its data folder along, so a test that moves
        // only the home can never reach the real Trash.
        if (homeFolder().isOverridden()) {
            return homeFolder().get() + QStringLiteral("/.local/share");
        }
        if (const char* env = std::getenv("XDG_DATA_HOME"); env != nullptr && env[0] == '/') {
            return pathText(std::string_view(env));
        }
        return homeFolder().get() + QStringLiteral("/.local/share");
    });
    return seam;
}

} // namespace harborlite::platform
