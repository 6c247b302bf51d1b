#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <set>
#include <string_view>
#include <sys/types.h>
#include <utility>

namespace harborlite {

// One entry met by a ContentWalk.
struct ContentEntry {
    enum class Kind { file, folder, package, link, other };

    Kind kind = Kind::other;
    QString path;
    QString name;
    // Read for files and packages only (the entry itself, links not followed).
    qint64 size = 0;
    qint64 allocatedSize = 0;
    qint64 accessedMSecs = 0;
    qint64 modifiedMSecs = 0;
    dev_t device = 0;
    ino_t inode = 0;

    QDateTime accessed() const { return QDateTime::fromMSecsSinceEpoch(accessedMSecs, Qt::UTC); }
    QDateTime modified() const { return QDateTime::fromMSecsSinceEpoch(modifiedMSecs, Qt::UTC); }
};

// The content scanners' policy on the shared serial walk (FS::BoundedWalk):
// depth first, each folder's entries in byte order of their names, every
// entry visited before the next sibling, however deep the tree. Hidden
// entries (and everything below a hidden folder) are skipped, symbolic links
// are reported but never followed, packages are reported but never entered,
// unreadable folders are passed over (and reported in sharedLog). A folder
// reached a second time (a bind mount of a parent, overlapping roots) is not
// entered again for the life of the walk. Names keep their bytes
// (platform::pathText) whether or not they are UTF-8.
class ContentWalk {
public:
    // Answers whether to enter a folder; ignored for every other kind.
    using Visitor = std::function<bool(const ContentEntry&)>;

    explicit ContentWalk(std::function<bool()> isCancelled);

    // Walks the folder at `root` (a link to a folder is followed for the root
    // only); isCancelled is polled before every entry. False once cancelled.
    bool walk(const QString& root, const Visitor& visit);

    // Whether something is at the path, following symbolic links.
    static bool exists(const QString& path);
    // The roots that exist, the given ones else the named folders of the home,
    // without those SafetyGuard::reviewedRootUse skips; a root behind a link
    // by its real path, each place once.
    static QStringList existingRoots(const std::optional<QStringList>& roots, const QStringList& homeFolders);
    // The home's content folders the large-file and duplicate scans walk:
    // Downloads, Documents, Desktop, Movies, Pictures and Music, then the
    // user's own download, documents, desktop, videos, pictures and music
    // folders as the desktop names them (~/Videos, ~/Bilder), each once.
    static QStringList contentFolders();
    // A folder the system shows as one file: an application, a bundle, a media
    // library or a document package, told by its extension (any case).
    static bool isPackage(const QString& name);
    static bool isPackage(std::string_view name);

private:
    std::function<bool()> isCancelled_;
    std::set<std::pair<dev_t, ino_t>> visited_;
};

} // namespace harborlite
