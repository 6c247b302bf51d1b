#include "platform/HomeFolder.h"

#include "platform/PathText.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace harborlite::platform {

namespace {

QString readHomeFolder()
{
    if (const char* env = std::getenv("HOME"); env != nullptr && env[0] == '/') {
        return pathText(std::string_view(env));
    }
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return pathText(std::string_view(entry->pw_dir));
    }
    return QStringLiteral("/");
}

} // namespace

Seam<QString>& homeFolder()
{
    static Seam<QString> seam([] {
        static const QString home = readHomeFolder();
        return home;
    });
    return seam;
}

} // namespace harborlite::platform
