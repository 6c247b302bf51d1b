#pragma once

#include <QString>

#include <optional>

namespace harborlite::platform {

// A file as the kernel knows it: its device and inode, whatever its names.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the regular file at `location` itself (a link is not
// followed); absent for anything else or when it cannot be read.
std::optional<FileIdentity> regularFileIdentity(const QString& location);

} // namespace harborlite::platform
