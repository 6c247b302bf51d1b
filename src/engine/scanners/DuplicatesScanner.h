#pragma once

#include "engine/scanners/CategoryScanner.h"

#include <QSet>
#include <QStringList>

#include <optional>

namespace harborlite {

// Files of the user's content folders whose contents are identical (SHA-256).
// Three passes keep most files unread: files are bucketed by size, files that
// share a size are compared by a digest of their first and last 16 KiB, and
// only files that share both are hashed in full. Each set of copies keeps its
// oldest file out of the list and reports the others in an opt-in group; every
// item is to be reviewed and starts deselected.
//
// Names of one file (hard links, or a folder reached twice) count once and are
// never copies of each other. A file whose read fails, or that changes while
// it is read, drops out: it is never reported on a partial read. The index
// walk (FS::TreeWalker), the safety guard's questions and the reads run on the
// process's I/O threads (IoThreads); a file is kept as its folder and name
// until its path is wanted.
class DuplicatesScanner : public CategoryScanner {
public:
    // `roots` replaces the home folder's Downloads, Documents, Desktop, Movies,
    // Pictures and Music (in that order), followed by the user's own folders
    // of those kinds (ContentWalk::contentFolders), when given.
    explicit DuplicatesScanner(qint64 minimumSize = 1'000'000, std::optional<QStringList> roots = std::nullopt);

    ScanCategory category() const override { return ScanCategory::duplicates; }
    CategoryResult scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const override;

    qint64 minimumSize() const { return minimumSize_; }
    QStringList searchRoots() const;

    // Folder names whose contents are never searched (compared exactly).
    static const QSet<QString>& prunedDirectories();

    static constexpr qint64 signatureBlock = 16384;
    static constexpr qint64 hashBlock = 1'048'576;

private:
    qint64 minimumSize_;
    std::optional<QStringList> roots_;
};

} // namespace harborlite
