#include "engine/scanners/ScanSteps.h"

#include "engine/safety/SafetyGuard.h"
#include "platform/PathText.h"
#include "shared/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace harborlite::ScanSteps {

bool cancelled(const CancelPredicate& isCancelled)
{
    return isCancelled && isCancelled();
}

double clamped(double fraction)
{
    return std::clamp(fraction, 0.0, 1.0);
}

bool isAllowed(const QString& location)
{
    return SafetyGuard::verdict(location, false).allowed;
}

std::optional<Root> root(const QString& folder)
{
    const SafetyGuard::RootUse use = SafetyGuard::rootUse(folder, SafetyGuard::context());
    if (use.skipped()) {
        return std::nullopt;
    }
    return Root{use.throughLink ? use.realPath : folder, use.needsReview};
}

ScanItem item(const QString& location, const QString& displayName, const std::optional<QString>& origin,
              qint64 size, bool requiresReview, const std::optional<QString>& detail)
{
    ScanItem result;
    result.url = location;
    result.displayName = displayName;
    result.origin = origin;
    result.size = size;
    result.modified = FS::modificationDate(location);
    result.requiresReview = requiresReview;
    result.detail = detail;
    result.isSelected = !requiresReview;
    return result;
}

void appendIfAny(QList<ScanGroup>& groups, ScanGroup group)
{
    if (!group.items.isEmpty()) {
        groups.append(std::move(group));
    }
}

qint64 totalSize(const QList<ScanGroup>& groups)
{
    qint64 total = 0;
    for (const ScanGroup& group : groups) {
        for (const ScanItem& entry : group.items) {
            total += entry.size;
        }
    }
    return total;
}

namespace {

// Where the extension's dot is, or -1.
qsizetype extensionDot(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 && dot < name.size() - 1 ? dot : -1;
}

} // namespace

QString pathExtension(const QString& name)
{
    const qsizetype dot = extensionDot(name);
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString deletingPathExtension(const QString& name)
{
    const qsizetype dot = extensionDot(name);
    return dot < 0 ? name : name.left(dot);
}

EntryType entryType(const QString& location)
{
    struct stat st {};
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
    const int fd = ::open(platform::pathBytes(location).constData(),
                          O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) {
        result.status = errno == ELOOP ? FileBytes::Status::notAFile : FileBytes::Status::unreadable;
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        result.status = FileBytes::Status::notAFile;
        return result;
    }
    result.status = FileBytes::Status::read;
    char chunk[16384];
    while (true) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
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
    ::close(fd);
    if (result.status != FileBytes::Status::read) {
        result.bytes.clear();
    }
    return result;
}

} // namespace harborlite::ScanSteps
