#pragma once

#include "engine/scanners/CategoryScanner.h"

#include <QMimeType>
#include <QStringList>

#include <array>
#include <optional>

namespace harborlite {

// Files and packages of the user's content folders that are at least
// minimumSize bytes on disk and have gone unused for more than staleAfterDays,
// one opt-in group per file kind, every item to be reviewed and deselected.
// Items are not put to the safety guard here: removal asks it.
class LargeOldFilesScanner : public CategoryScanner {
public:
    enum class FileKind { archive, video, image, audio, document, bundle, other };
    static constexpr std::array<FileKind, 7> allKinds = {
        FileKind::archive,  FileKind::video,  FileKind::image, FileKind::audio,
        FileKind::document, FileKind::bundle, FileKind::other,
    };

    // `roots` replaces the home folder's Downloads, Documents, Desktop, Movies,
    // Pictures and Music (in that order), followed by the user's own folders
    // of those kinds (ContentWalk::contentFolders), when given.
    explicit LargeOldFilesScanner(qint64 minimumSize = 50'000'000, int staleAfterDays = 180,
                                  std::optional<QStringList> roots = std::nullopt);

    ScanCategory category() const override { return ScanCategory::largeAndOld; }
    CategoryResult scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const override;

    qint64 minimumSize() const { return minimumSize_; }
    int staleAfterDays() const { return staleAfterDays_; }
    QStringList searchRoots() const;

    // The kind of a file from its MIME type; an unknown type is `other`.
    // Packages are always `bundle` and never come here.
    static FileKind fileKind(const QMimeType& type);
    static QString title(FileKind kind);
    static QString subtitle(FileKind kind);
    static QString symbol(FileKind kind);

private:
    qint64 minimumSize_;
    int staleAfterDays_;
    std::optional<QStringList> roots_;
};

} // namespace harborlite
