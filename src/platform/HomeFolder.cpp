#include "platform/HomeFolder.h"

#include <QFile>

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace harborlite::platform {

namespace {

QString readHomeFolder()
{
    if (const char* env = std::getenv("HOME"); env != nullptr && env[0] == '/') {
        return QFile::decodeName(env);
    }
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return QFile::decodeName(entry->pw_dir);
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
