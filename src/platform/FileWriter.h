#pragma once

#include <cstddef>
#include <functional>
#include <sys/types.h>

namespace harborlite::platform {

// Writes into an open file: a positioned write (pwrite: bytes written or -1
// with errno) and a flush to the storage device (fsync: 0 or -1 with errno).
// Shredding writes through it; tests watch the calls or make them fail.
struct FileWriter {
    std::function<ssize_t(int fd, const char* data, std::size_t size, off_t offset)> writeAt;
    std::function<int(int fd)> sync;
};

// pwrite and fsync themselves.
FileWriter realFileWriter();

} // namespace harborlite::platform
