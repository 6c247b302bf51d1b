#include "engine/formats/NoFollow.h"

#include "platform/FileDescriptor.h"
#include "platform/PathText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace harborlite::NoFollow {

EntryType entryType(const QString& location)
{
    struct stat st { };
    if (location.isEmpty() || ::lstat(platform::pathBytes(location).constData(), &st) != 0) {
        return EntryType::missing;
    }
    if (S_ISLNK(st.st_mode)) {
        return EntryType::link;
    }
    if (S_ISDIR(st.st_mode)) {
        return EntryType::folder;
    }
    return S_ISREG(st.st_mode) ? EntryType::file : EntryType::other;
}

FileBytes readFile(const QString& location, qint64 maxBytes)
{
    FileBytes result;
    // Non-blocking, so a named pipe planted under the name cannot stall the open.
    const platform::FileDescriptor fd(
        ::open(platform::pathBytes(location).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW));
    if (!fd.isOpen()) {
        result.status = errno == ELOOP ? FileBytes::Status::notAFile : FileBytes::Status::unreadable;
        return result;
    }
    struct stat st { };
    if (::fstat(fd.get(), &st) != 0) {
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.status = FileBytes::Status::notAFile;
        return result;
    }
    result.status = FileBytes::Status::read;
    char chunk[16384];
    while (true) {
        const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            result.status = FileBytes::Status::unreadable;
            break;
        }
        if (got == 0) {
            break;
        }
        // Checked while reading: the file may grow after it was opened.
        if (result.bytes.size() + got > maxBytes) {
            result.status = FileBytes::Status::tooLarge;
            break;
        }
        result.bytes.append(chunk, qsizetype(got));
    }
    if (result.status != FileBytes::Status::read) {
        result.bytes.clear();
    }
    return result;
}

} // namespace harborlite::NoFollow
