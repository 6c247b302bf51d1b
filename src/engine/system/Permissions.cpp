#include "engine/system/Permissions.h"

#include "platform/FileManager.h"
#include "platform/FullDiskAccessProbes.h"
#include "platform/PathText.h"

#include <QCoreApplication>

#include <dirent.h>
#include <sys/stat.h>

namespace harborlite::Permissions {

namespace {

bool canList(const QByteArray& path)
{
    DIR* dir = ::opendir(path.constData());
    if (dir == nullptr) {
        return false;
    }
    ::closedir(dir);
    return true;
}

} // namespace

bool hasFullDiskAccess()
{
    int existing = 0;
    for (const QString& probe : platform::fullDiskAccessProbes().get()) {
        const QByteArray path = platform::pathBytes(probe);
        struct stat st { };
        if (::stat(path.constData(), &st) != 0) {
            continue;
        }
        ++existing;
        if (!canList(path)) {
            return false;
        }
    }
    return existing > 0;
}

void revealApp()
{
    platform::revealInFileManager({QCoreApplication::applicationFilePath()});
}

} // namespace harborlite::Permissions
