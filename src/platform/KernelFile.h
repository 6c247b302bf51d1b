#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QString>

#include <string_view>
#include <vector>

namespace harborlite::platform {

// One text file of /proc or /sys kept open and read again from its start each
// time: reading from offset 0 makes the kernel produce fresh content, which
// costs less than opening the file anew. A file that cannot be opened or read
// is tried again at the next read, so one that appears later is picked up.
class KernelFile {
public:
    KernelFile() = default;
    explicit KernelFile(const QString& path);

    // The file's text, read into `buffer`; empty when the file cannot be read.
    // With `growToFit` the buffer is enlarged (up to 4 MiB) until the whole
    // file fits; without it only the first buffer.size() bytes are read, for
    // files of which only the beginning matters. The view lives as long as the
    // buffer is left alone.
    std::string_view read(std::vector<char>& buffer, bool growToFit = true);

private:
    QByteArray path_;
    FileDescriptor fd_;
};

// The whole file at `path` read once; empty when it cannot be read.
QByteArray readKernelFile(const QString& path);

} // namespace harborlite::platform
