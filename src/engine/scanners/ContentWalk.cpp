#include "engine/scanners/ContentWalk.h"

#include "engine/safety/SafetyGuard.h"
#include "platform/PathText.h"
#include "platform/UserFolders.h"
#include "shared/FileSystem.h"

#include <QSet>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace harborlite {

namespace {

constexpr int kOpenFolder = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY;

struct Name {
    QByteArray bytes;
    unsigned char type = DT_UNKNOWN;
};

struct Frame {
    int fd = -1;
    QString path;
    std::vector<Name> names;
    size_t next = 0;
};

// The folder's visible entries in byte order; the descriptor stays open.
std::vector<Name> visibleEntries(int fd)
{
    std::vector<Name> names;
    const int listing = ::dup(fd);
    if (listing < 0) {
        return names;
    }
    DIR* dir = ::fdopendir(listing);
    if (dir == nullptr) {
        ::close(listing);
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        names.push_back({QByteArray(entry->d_name), entry->d_type});
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), [](const Name& a, const Name& b) { return a.bytes < b.bytes; });
    return names;
}

qint64 milliseconds(const timespec& ts)
{
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void fill(ContentEntry& entry, const struct stat& st)
{
    entry.size = qint64(st.st_size);
    entry.allocatedSize = qint64(st.st_blocks) * 512;
    entry.accessedMSecs = milliseconds(st.st_atim);
    entry.modifiedMSecs = milliseconds(st.st_mtim);
    entry.device = st.st_dev;
    entry.inode = st.st_ino;
}

ContentEntry::Kind kindOf(mode_t mode, const QString& name)
{
    if (S_ISREG(mode)) {
        return ContentEntry::Kind::file;
    }
    if (S_ISDIR(mode)) {
        return ContentWalk::isPackage(name) ? ContentEntry::Kind::package : ContentEntry::Kind::folder;
    }
    return S_ISLNK(mode) ? ContentEntry::Kind::link : ContentEntry::Kind::other;
}

void closeAll(std::vector<Frame>& stack)
{
    for (const Frame& frame : stack) {
        ::close(frame.fd);
    }
    stack.clear();
}

} // namespace

ContentWalk::ContentWalk(std::function<bool()> isCancelled)
    : isCancelled_(std::move(isCancelled))
{
}

bool ContentWalk::enter(int fd)
{
    struct stat st {};
    return ::fstat(fd, &st) == 0 && visited_.insert({st.st_dev, st.st_ino}).second;
}

bool ContentWalk::walk(const QString& root, const Visitor& visit)
{
    if (root.isEmpty()) {
        return true;
    }
    const int rootFd = ::open(platform::pathBytes(root).constData(), kOpenFolder);
    if (rootFd < 0) {
        return true;
    }
    if (!enter(rootFd)) {
        ::close(rootFd);
        return true;
    }
    std::vector<Frame> stack;
    stack.push_back({rootFd, FS::path(root), visibleEntries(rootFd), 0});

    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.names.size()) {
            ::close(top.fd);
            stack.pop_back();
            continue;
        }
        const Name& name = top.names[top.next++];
        if (isCancelled_ && isCancelled_()) {
            closeAll(stack);
            return false;
        }
        ContentEntry entry;
        entry.name = platform::pathText(name.bytes);
        entry.path = FS::join(top.path, entry.name);
        switch (name.type) {
        case DT_DIR:
            entry.kind = isPackage(entry.name) ? ContentEntry::Kind::package : ContentEntry::Kind::folder;
            break;
        case DT_LNK:
            entry.kind = ContentEntry::Kind::link;
            break;
        case DT_REG:
        case DT_UNKNOWN:
            entry.kind = ContentEntry::Kind::file;
            break;
        default:
            entry.kind = ContentEntry::Kind::other;
            break;
        }
        if (entry.kind == ContentEntry::Kind::file || entry.kind == ContentEntry::Kind::package) {
            struct stat st {};
            if (::fstatat(top.fd, name.bytes.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                continue;
            }
            entry.kind = kindOf(st.st_mode, entry.name);
            fill(entry, st);
        }
        const bool descend = visit(entry);
        if (entry.kind != ContentEntry::Kind::folder || !descend || int(stack.size()) >= maxDepth) {
            continue;
        }
        const int childFd = ::openat(top.fd, name.bytes.constData(), kOpenFolder | O_NOFOLLOW);
        if (childFd < 0) {
            continue;
        }
        if (!enter(childFd)) {
            ::close(childFd);
            continue;
        }
        Frame child{childFd, entry.path, visibleEntries(childFd), 0};
        stack.push_back(std::move(child));
    }
    return true;
}

bool ContentWalk::exists(const QString& path)
{
    struct stat st {};
    return !path.isEmpty() && ::stat(platform::pathBytes(path).constData(), &st) == 0;
}

QStringList ContentWalk::existingRoots(const std::optional<QStringList>& roots, const QStringList& homeFolders)
{
    QStringList candidates;
    if (roots) {
        candidates = *roots;
    } else {
        for (const QString& name : homeFolders) {
            candidates.append(FS::join(FS::home(), name));
        }
    }
    // Each is resolved once: a root that leads through a link to a place no
    // scan may walk (the home, a system folder...) is left out.
    const SafetyGuard::Context context = SafetyGuard::context();
    QStringList result;
    for (const QString& root : candidates) {
        if (exists(root) && !SafetyGuard::rootUse(root, context).skipped()) {
            result.append(root);
        }
    }
    return result;
}

QStringList ContentWalk::contentFolders()
{
    QStringList folders = {QStringLiteral("Downloads"), QStringLiteral("Documents"), QStringLiteral("Desktop"),
                           QStringLiteral("Movies"),    QStringLiteral("Pictures"),  QStringLiteral("Music")};
    using platform::UserFolder;
    folders.append(platform::userFolders({UserFolder::download, UserFolder::documents, UserFolder::desktop,
                                          UserFolder::videos, UserFolder::pictures, UserFolder::music},
                                         folders));
    return folders;
}

bool ContentWalk::isPackage(const QString& name)
{
    static const QSet<QString> extensions = {
        QStringLiteral("app"),          QStringLiteral("bundle"),      QStringLiteral("framework"),
        QStringLiteral("plugin"),       QStringLiteral("kext"),        QStringLiteral("appex"),
        QStringLiteral("photoslibrary"), QStringLiteral("photolibrary"), QStringLiteral("musiclibrary"),
        QStringLiteral("tvlibrary"),    QStringLiteral("imovielibrary"), QStringLiteral("fcpbundle"),
        QStringLiteral("logicx"),       QStringLiteral("band"),        QStringLiteral("rtfd"),
        QStringLiteral("pages"),        QStringLiteral("numbers"),     QStringLiteral("key"),
        QStringLiteral("xcodeproj"),    QStringLiteral("xcworkspace"), QStringLiteral("xcarchive"),
        QStringLiteral("playground"),   QStringLiteral("pkg"),         QStringLiteral("mpkg"),
        QStringLiteral("docset"),
    };
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 && extensions.contains(name.mid(dot + 1).toLower());
}

} // namespace harborlite
