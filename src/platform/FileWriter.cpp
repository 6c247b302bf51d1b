#include "platform/FileWriter.h"

#include <unistd.h>

namespace harborlite::platform {

FileWriter realFileWriter()
{
    return FileWriter{
        [](int fd, const char* data, std::size_t size, off_t offset) { return ::pwrite(fd, data, size, offset); },
        [](int fd) { return ::fsync(fd); },
    };
}

} // namespace harborlite::platform
