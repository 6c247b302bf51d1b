#include "engine/removal/Remover.h"

#include "engine/safety/SafetyGuard.h"
#include "platform/ErrorDescription.h"
#include "platform/FileWriter.h"
#include "platform/PathText.h"
#include "platform/PlannedWay.h"
#include "platform/Trash.h"
#include "shared/BoundedWalk.h"
#include "shared/FileSystem.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace harborlite {

namespace {

constexpr off_t chunkSize = 1 << 20;

using Failure = std::optional<QString>;
using platform::FileDescriptor;

QString couldNotRemove(const QByteArray& name, int error)
{
    return QCoreApplication::translate("Remover", "Could not remove \u201C%1\u201D: %2")
        .arg(QFile::decodeName(name), platform::errorDescription(error));
}

QString couldNotOverwrite(const QByteArray& name, const QString& why)
{
    return QCoreApplication::translate("Remover", "Could not overwrite \u201C%1\u201D: %2")
        .arg(QFile::decodeName(name), why);
}

// The byte ranges of the file that hold data: the data extents inside its
// length (holes hold nothing to overwrite), then up to its allocated size so
// the whole last block is covered.
std::vector<std::pair<off_t, off_t>> dataRanges(int fd, const struct stat& st)
{
    const off_t logical = st.st_size;
    const off_t allocated = off_t(st.st_blocks) * 512;
    std::vector<std::pair<off_t, off_t>> ranges;
    for (off_t position = 0; position < logical;) {
        const off_t data = ::lseek(fd, position, SEEK_DATA);
        if (data < 0) {
            if (errno != ENXIO) {
                // No hole reporting here: every byte may hold data.
                ranges.assign(1, {0, logical});
            }
            break;
        }
        off_t hole = ::lseek(fd, data, SEEK_HOLE);
        if (hole < 0 || hole > logical) {
            hole = logical;
        }
        ranges.emplace_back(data, hole);
        position = hole;
    }
    if (allocated > logical) {
        if (!ranges.empty() && ranges.back().second == logical) {
            ranges.back().second = allocated;
        } else {
            ranges.emplace_back(logical, allocated);
        }
    }
    return ranges;
}

bool fillRandom(char* buffer, std::size_t size)
{
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t n = ::getrandom(buffer + filled, size - filled, 0);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        filled += std::size_t(n);
    }
    return true;
}

// Gives the user write access to a read-only file of their own (a git object,
// say). The file is pinned by a descriptor first, so a link put in its place
// never has its target changed.
bool grantWriteAccess(int folderFd, const QByteArray& name, const struct stat& st)
{
    const FileDescriptor pinned(::openat(folderFd, name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat now { };
    if (pinned.get() < 0 || ::fstat(pinned.get(), &now) != 0 || !S_ISREG(now.st_mode) || now.st_ino != st.st_ino
        || now.st_dev != st.st_dev) {
        return false;
    }
    const QByteArray viaDescriptor = "/proc/self/fd/" + QByteArray::number(pinned.get());
    return ::chmod(viaDescriptor.constData(), (now.st_mode & 07777) | S_IWUSR) == 0;
}

// Opens the regular file planned for writing. Non-blocking, so a FIFO or device
// put in its place never holds the run up; whatever was opened must still be
// that regular file.
FileDescriptor openWritable(int folderFd, const QByteArray& name, const struct stat& st)
{
    FileDescriptor fd(::openat(folderFd, name.constData(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    struct stat opened { };
    if (fd.isOpen()
        && (::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_ino != st.st_ino
            || opened.st_dev != st.st_dev)) {
        fd.reset();
        errno = ESTALE;
    }
    return fd;
}

FileDescriptor openForOverwrite(int folderFd, const QByteArray& name, const struct stat& st)
{
    FileDescriptor fd = openWritable(folderFd, name, st);
    if (fd.isOpen() || (errno != EACCES && errno != EPERM) || st.st_uid != ::geteuid()) {
        return fd;
    }
    const int error = errno;
    if (!grantWriteAccess(folderFd, name, st)) {
        errno = error;
        return fd;
    }
    return openWritable(folderFd, name, st);
}

// Overwrites the regular file in place (never truncated, never through a link)
// with random bytes in chunks of at most 1 MiB, then flushes it once.
Failure overwrite(int folderFd, const QByteArray& name, const struct stat& st, const platform::FileWriter& writer)
{
    if (st.st_nlink > 1) {
        // Its contents are reachable under another name, perhaps outside the selection.
        return couldNotOverwrite(name, QCoreApplication::translate("Remover", "Other hard links share its contents."));
    }
    const FileDescriptor fd = openForOverwrite(folderFd, name, st);
    struct stat opened { };
    if (fd.get() < 0 && errno == ESTALE) {
        return couldNotOverwrite(name, QCoreApplication::translate("Remover", "It changed while being shredded."));
    }
    if (fd.get() < 0 || ::fstat(fd.get(), &opened) != 0) {
        return couldNotOverwrite(name, platform::errorDescription(errno));
    }
    std::vector<char> chunk;
    bool wrote = false;
    for (const auto& [begin, end] : dataRanges(fd.get(), opened)) {
        for (off_t offset = begin; offset < end;) {
            const std::size_t size = std::size_t(std::min(end - offset, chunkSize));
            chunk.resize(size);
            if (!fillRandom(chunk.data(), size)) {
                return couldNotOverwrite(name, platform::errorDescription(errno));
            }
            for (std::size_t done = 0; done < size;) {
                const ssize_t n = writer.writeAt(fd.get(), chunk.data() + done, size - done, offset + off_t(done));
                if (n < 0 && errno == EINTR) {
                    continue;
                }
                if (n <= 0) {
                    return couldNotOverwrite(name, platform::errorDescription(n < 0 ? errno : EIO));
                }
                done += std::size_t(n);
            }
            offset += off_t(size);
            wrote = true;
        }
    }
    if (wrote && writer.sync(fd.get()) != 0) {
        return couldNotOverwrite(name, platform::errorDescription(errno));
    }
    return std::nullopt;
}

// Removes one entry that is not a folder from an open folder: a link as
// itself, a regular file shredded first when asked.
Failure removeFile(int folderFd, const QByteArray& name, bool shred, const platform::FileWriter& writer, bool isTop)
{
    if (shred) {
        struct stat st { };
        if (::fstatat(folderFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            return !isTop && errno == ENOENT ? Failure() : couldNotRemove(name, errno);
        }
        if (S_ISREG(st.st_mode)) {
            if (Failure failure = overwrite(folderFd, name, st, writer)) {
                return failure;
            }
        }
    }
    if (::unlinkat(folderFd, name.constData(), 0) != 0 && (isTop || errno != ENOENT)) {
        return couldNotRemove(name, errno);
    }
    return std::nullopt;
}

// Removes a folder with everything below it, bottom up, through the shared
// bounded walk: however deep the tree, only a few dozen folders are open at
// once. Stops at the first failure; a folder on another device than `device`
// is not entered.
Failure removeFolder(int parentFd, const QByteArray& name, dev_t device, bool shred, const platform::FileWriter& writer)
{
    Failure failure;
    bool atTop = true;
    FS::BoundedWalk::Visitor visitor;
    visitor.enter = [&](const FS::BoundedWalk::Folder& folder) {
        atTop = false;
        const QByteArray folderName =
            QByteArray::fromStdString(std::string(folder.path.substr(folder.path.rfind('/') + 1)));
        if (folder.device != device) {
            failure = QCoreApplication::translate(
                          "Remover", "\u201C%1\u201D is another volume. Refusing to remove an entire volume.")
                          .arg(QFile::decodeName(folderName));
            return FS::BoundedWalk::Step::stop;
        }
        if (folder.listingError != 0) {
            failure = couldNotRemove(folderName, folder.listingError);
            return FS::BoundedWalk::Step::stop;
        }
        return FS::BoundedWalk::Step::go;
    };
    visitor.entry = [&](const FS::BoundedWalk::Folder& folder, const FS::BoundedWalk::Entry& entry) {
        if (entry.type == DT_DIR) {
            return FS::BoundedWalk::Step::go;
        }
        failure =
            removeFile(folder.fd, QByteArray(entry.name.data(), qsizetype(entry.name.size())), shred, writer, false);
        return failure ? FS::BoundedWalk::Step::stop : FS::BoundedWalk::Step::skip;
    };
    visitor.openFailed = [&](int, const std::string& folderName, int error) {
        if (!atTop && error == ENOENT) {
            return true;
        }
        failure = couldNotRemove(QByteArray::fromStdString(folderName), error);
        return false;
    };
    visitor.leave = [&](int folderParentFd, const std::string& folderName) {
        if (::unlinkat(folderParentFd, folderName.c_str(), AT_REMOVEDIR) != 0) {
            failure = couldNotRemove(QByteArray::fromStdString(folderName), errno);
            return false;
        }
        return true;
    };
    if (FS::BoundedWalk::run(parentFd, name.toStdString(), visitor, {.nameOrder = true})
        == FS::BoundedWalk::Outcome::lost) {
        return couldNotRemove(name, errno);
    }
    return failure;
}

Failure removeTree(int parentFd, const QByteArray& name, const struct stat& st, bool shred,
                   const platform::FileWriter& writer)
{
    if (S_ISDIR(st.st_mode)) {
        return removeFolder(parentFd, name, st.st_dev, shred, writer);
    }
    return removeFile(parentFd, name, shred, writer, true);
}

// Deletes the info file of a Trash entry just removed, reached the same way.
void removeInfoFile(const platform::PlannedWay& way, const QString& info)
{
    const platform::PlannedWay::Parent parent = way.openParent(info);
    if (parent.folder.isOpen()) {
        ::unlinkat(parent.folder.get(), parent.name.constData(), 0);
    }
}

} // namespace

CleanupReport Remover::remove(const QStringList& locations, bool userSelected, const Progress& progress) const
{
    const auto start = std::chrono::steady_clock::now();
    CleanupReport report;
    const platform::PlannedWay way(FS::home());
    const qsizetype count = locations.size();
    for (qsizetype i = 0; i < count; ++i) {
        const QString& location = locations[i];
        if (progress) {
            progress(double(i) / double(count), location);
        }
        const SafetyGuard::Verdict verdict = SafetyGuard::verdict(location, userSelected);
        if (!verdict.allowed) {
            report.failures.append({location, verdict.message});
            continue;
        }
        // The guard judges where ".." leads; a list of selected items has no
        // business naming one by a detour, so such a location is refused too.
        if (location.split(QLatin1Char('/')).contains(QLatin1String(".."))) {
            report.failures.append(
                {location, QCoreApplication::translate("Remover", "Path contains a parent traversal.")});
            continue;
        }
        const QString item = FS::path(location);
        // The way to the item is opened without following links: a link put on
        // it since the plan would send the removal somewhere else.
        const platform::PlannedWay::Parent parent = way.openParent(item);
        if (parent.changed()) {
            report.failures.append({location, platform::locationChangedText()});
            continue;
        }
        struct stat st { };
        if (!parent.folder.isOpen()
            || ::fstatat(parent.folder.get(), parent.name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            const int error = parent.folder.isOpen() ? errno : parent.error;
            // Gone already (removed earlier in this list, say): nothing to do.
            if (error == ENOENT || error == ENOTDIR) {
                continue;
            }
            report.failures.append({location, couldNotRemove(parent.name, error)});
            continue;
        }
        const qint64 size = FS::size(item, {.descendIntoPackages = true});
        Failure failure;
        switch (mode_) {
        case Mode::trash:
            // Moving an item out of the Trash into the Trash again would free nothing.
            failure = platform::Trash::isInsideTrash(item)
                ? removeTree(parent.folder.get(), parent.name, st, false, writer_)
                : platform::Trash::moveToTrash(item, parent.folder.get()).failure;
            break;
        case Mode::permanent:
            failure = removeTree(parent.folder.get(), parent.name, st, false, writer_);
            break;
        case Mode::shred:
            failure = removeTree(parent.folder.get(), parent.name, st, true, writer_);
            break;
        }
        if (failure) {
            report.failures.append({location, *failure});
            continue;
        }
        report.reclaimed += size;
        ++report.removed;
        if (const std::optional<QString> info = platform::Trash::infoFileOf(item)) {
            removeInfoFile(way, *info);
        }
    }
    if (progress) {
        progress(1.0, locations.isEmpty() ? FS::home() : locations.last());
    }
    report.duration = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return report;
}

} // namespace harborlite
