#include "platform/ToolTable.h"

#include "platform/PathText.h"

#include <sys/stat.h>
#include <unistd.h>

namespace harborlite::platform {

bool isExecutableFile(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    const QByteArray encoded = pathBytes(path);
    struct stat info { };
    return ::stat(encoded.constData(), &info) == 0 && S_ISREG(info.st_mode) && ::access(encoded.constData(), X_OK) == 0;
}

} // namespace harborlite::platform
