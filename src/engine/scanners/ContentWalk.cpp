#include "engine/scanners/ContentWalk.h"

#include "engine/safety/SafetyGuard.h"
#include "platform/PathText.h"
#include "platform/UserFolders.h"
#include "shared/BoundedWalk.h"
#include "shared/FileSystem.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace harborlite {

namespace {

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

const char* const packageExtensions[] = {
    "app",          "bundle",       "framework", "plugin",        "kext",      "appex",       "photoslibrary",
    "photolibrary", "musiclibrary", "tvlibrary", "imovielibrary", "fcpbundle", "logicx",      "band",
    "rtfd",         "pages",        "numbers",   "key",           "xcodeproj", "xcworkspace", "xcarchive",
    "playground",   "pkg",          "mpkg",      "docset",
};

} // namespace

ContentWalk::ContentWalk(std::function<bool()> isCancelled)
    : isCancelled_(std::move(isCancelled))
{
}

bool ContentWalk::walk(const QString& root, const Visitor& visit)
{
    if (root.isEmpty()) {
        return true;
    }
    // The root is followed when it is a link; nothing below it ever is.
    char* real = ::realpath(platform::pathBytes(root).constData(), nullptr);
    if (real == nullptr) {
        return true;
    }
    const std::string top(real);
    std::free(real);
    // The paths of the folders the walk is in, by depth, written from the root as named.
    std::vector<QString> folders;
    bool cancelled = false;
    FS::BoundedWalk::Visitor visitor;
    visitor.enter = [&](const FS::BoundedWalk::Folder& folder) {
        if (!visited_.insert({folder.device, folder.inode}).second) {
            return FS::BoundedWalk::Step::skip;
        }
        if (folder.depth == 0) {
            folders.assign(1, FS::path(root));
        }
        return FS::BoundedWalk::Step::go;
    };
    visitor.entry = [&](const FS::BoundedWalk::Folder& folder, const FS::BoundedWalk::Entry& found) {
        if (isCancelled_ && isCancelled_()) {
            cancelled = true;
            return FS::BoundedWalk::Step::stop;
        }
        ContentEntry entry;
        entry.name = platform::pathText(found.name);
        entry.path = FS::join(folders[folder.depth], entry.name);
        switch (found.type) {
        case DT_DIR:
            entry.kind = isPackage(entry.name) ? ContentEntry::Kind::package : ContentEntry::Kind::folder;
            break;
        case DT_LNK:
            entry.kind = ContentEntry::Kind::link;
            break;
        case DT_REG:
            entry.kind = ContentEntry::Kind::file;
            break;
        default:
            entry.kind = ContentEntry::Kind::other;
            break;
        }
        if (entry.kind == ContentEntry::Kind::file || entry.kind == ContentEntry::Kind::package) {
            struct stat st { };
            if (::fstatat(folder.fd, found.name.data(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                return FS::BoundedWalk::Step::skip;
            }
            entry.kind = kindOf(st.st_mode, entry.name);
            fill(entry, st);
        }
        if (!visit(entry) || entry.kind != ContentEntry::Kind::folder) {
            return FS::BoundedWalk::Step::skip;
        }
        folders.resize(folder.depth + 2);
        folders[folder.depth + 1] = entry.path;
        return FS::BoundedWalk::Step::go;
    };
    FS::BoundedWalk::run(AT_FDCWD, top, visitor, {.nameOrder = true, .skipHidden = true});
    return !cancelled;
}

bool ContentWalk::exists(const QString& path)
{
    struct stat st { };
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
    // scan may walk (the home, a system folder...) is left out. One behind a
    // link is named by its real path, so what is found there never depends on
    // where the link points later, and a place two roots lead to counts once.
    const SafetyGuard::Context context = SafetyGuard::context();
    QStringList result;
    for (const QString& root : candidates) {
        if (!exists(root)) {
            continue;
        }
        const SafetyGuard::RootUse use = SafetyGuard::reviewedRootUse(root, context);
        if (use.skipped()) {
            continue;
        }
        const QString named = use.throughLink ? use.realPath : root;
        if (!result.contains(named)) {
            result.append(named);
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
    const QByteArray bytes = platform::pathBytes(name);
    return isPackage(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

bool ContentWalk::isPackage(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return false;
    }
    const std::string_view extension = name.substr(dot + 1);
    return std::any_of(std::begin(packageExtensions), std::end(packageExtensions), [extension](const char* known) {
        const std::string_view candidate(known);
        return candidate.size() == extension.size()
            && std::equal(candidate.begin(), candidate.end(), extension.begin(),
                          [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? char(b - 'A' + 'a') : b); });
    });
}

} // namespace harborlite
