#include "platform/FileWriter.h"

#include <unistd.h>

namespace harborlite::platform {

Seam<FileWriter>& fileWriter()
{
    static Seam<FileWriter> seam([] {
        return FileWriter{
            [](int fd, const char* data, std::size_t size, off_t offset) {
                return ::pwrite(fd, data, size, offset);
            },
            [](int fd) { return ::fsync(fd); },
        };
    });
    return seam;
}

} // namespace harborlite::platform
