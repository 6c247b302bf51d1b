#include "platform/FileIdentity.h"

#include "platform/PathText.h"

#include <sys/stat.h>

namespace harborlite::platform {

std::optional<FileIdentity> regularFileIdentity(const QString& location)
{
    struct stat st { };
    if (::lstat(pathBytes(location).constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    return FileIdentity{quint64(st.st_dev), quint64(st.st_ino)};
}

} // namespace harborlite::platform
