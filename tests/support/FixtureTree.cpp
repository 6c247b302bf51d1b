#include "support/FixtureTree.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace harborlite::test {

namespace {

timespec toTimespec(const QDateTime& date)
{
    if (!date.isValid()) {
        return {0, UTIME_OMIT};
    }
    const qint64 ms = date.toMSecsSinceEpoch();
    return {time_t(ms / 1000), long(ms % 1000) * 1000000};
}

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The first subfolder of the open folder after unlinking every other entry;
// empty when none is left or the folder cannot be read.
std::string emptyAllButFolders(int folder)
{
    const int listing = ::dup(folder);
    DIR* stream = listing < 0 ? nullptr : ::fdopendir(listing);
    if (stream == nullptr) {
        if (listing >= 0) {
            ::close(listing);
        }
        return {};
    }
    std::string subfolder;
    while (const dirent* entry = ::readdir(stream)) {
        if (isDotOrDotDot(entry->d_name)) {
            continue;
        }
        struct stat st { };
        if (::fstatat(folder, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)) {
            if (subfolder.empty()) {
                subfolder = entry->d_name;
            }
        } else {
            ::unlinkat(folder, entry->d_name, 0);
        }
    }
    ::closedir(stream);
    return subfolder;
}

// Removes a tree whatever its depth, names or permissions, holding one folder
// open at a time: QDir::removeRecursively gives up on paths longer than
// PATH_MAX, on names that are not valid UTF-8 and on folders a test locked.
void removeTree(const QByteArray& root)
{
    ::chmod(root.constData(), 0700);
    int folder = ::open(root.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0) {
        return;
    }
    std::vector<std::string> names;
    while (true) {
        const std::string next = emptyAllButFolders(folder);
        if (!next.empty()) {
            ::fchmodat(folder, next.c_str(), 0700, 0);
            const int child = ::openat(folder, next.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child < 0) {
                break;
            }
            ::close(folder);
            folder = child;
            names.push_back(next);
            continue;
        }
        if (names.empty()) {
            break;
        }
        const int parent = ::openat(folder, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(folder);
        if (parent < 0) {
            return;
        }
        folder = parent;
        // A folder that cannot be removed would be visited forever.
        if (::unlinkat(folder, names.back().c_str(), AT_REMOVEDIR) != 0) {
            break;
        }
        names.pop_back();
    }
    ::close(folder);
    ::rmdir(root.constData());
}

} // namespace

FixtureTree::FixtureTree()
{
    dir_.setAutoRemove(false);
    if (!dir_.isValid()) {
        ADD_FAILURE() << "cannot create a temporary folder";
    }
}

FixtureTree::~FixtureTree()
{
    if (dir_.isValid()) {
        removeTree(QFile::encodeName(dir_.path()));
    }
}

QString FixtureTree::path(const QString& relative) const
{
    return relative.isEmpty() ? root() : root() + QLatin1Char('/') + relative;
}

QString FixtureTree::folder(const QString& relative)
{
    const QString full = path(relative);
    if (!QDir().mkpath(full)) {
        ADD_FAILURE() << "cannot create folder " << full.toStdString();
    }
    return full;
}

QString FixtureTree::file(const QString& relative, qint64 bytes)
{
    return file(relative, QByteArray(bytes, 'x'));
}

QString FixtureTree::file(const QString& relative, const QByteArray& content)
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).path());
    QFile out(full);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(content) != content.size()) {
        ADD_FAILURE() << "cannot write " << full.toStdString();
    }
    return full;
}

QString FixtureTree::sparseFile(const QString& relative, qint64 bytes)
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).path());
    const int fd = ::open(QFile::encodeName(full).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::ftruncate(fd, bytes) != 0) {
        ADD_FAILURE() << "cannot create sparse file " << full.toStdString();
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return full;
}

QString FixtureTree::symlink(const QString& relative, const QString& target)
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).path());
    if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(full).constData()) != 0) {
        ADD_FAILURE() << "cannot create link " << full.toStdString();
    }
    return full;
}

void FixtureTree::setTimes(const QString& relative, const QDateTime& modified, const QDateTime& accessed)
{
    const timespec times[2] = {toTimespec(accessed), toTimespec(modified)};
    if (::utimensat(AT_FDCWD, QFile::encodeName(path(relative)).constData(), times, AT_SYMLINK_NOFOLLOW) != 0) {
        ADD_FAILURE() << "cannot set times of " << relative.toStdString();
    }
}

QString FixtureTree::deepChain(const QString& relative, int depth, qint64 bytesAtBottom)
{
    // Built with openat so the path never has to fit PATH_MAX.
    const QString start = folder(relative);
    int fd = ::open(QFile::encodeName(start).constData(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < depth && fd >= 0; ++i) {
        if (::mkdirat(fd, "d", 0755) != 0) {
            ADD_FAILURE() << "mkdirat failed at depth " << i;
            break;
        }
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    if (fd >= 0 && bytesAtBottom > 0) {
        const int out = ::openat(fd, "f", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const QByteArray data(bytesAtBottom, 'x');
        if (out < 0 || ::write(out, data.constData(), size_t(data.size())) != data.size()) {
            ADD_FAILURE() << "cannot write the file at the bottom of the chain";
        }
        if (out >= 0) {
            ::close(out);
        }
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return start;
}

} // namespace harborlite::test
