#pragma once

#include "engine/scanners/CategoryScanner.h"

#include <QStringList>

#include <optional>

namespace harborlite {

// Offline copies and caches the media applications fetch or rebuild again:
// one opt-in group per media source, in the sources' order, every item to be
// reviewed and deselected. Every location and listed child is put to the
// safety guard as a location the user chose before it is measured.
class DownloadedMediaScanner : public CategoryScanner {
public:
    struct Source {
        QString title;
        QString subtitle;
        QString symbol;
        QString detail;
        QStringList locations;
        // Every direct child of a location is its own item; else each location is one.
        bool listsChildren = false;
    };

    // `sources` replaces the fixed media sources under the home and Library folders when given.
    explicit DownloadedMediaScanner(qint64 minimumSize = 10'000'000,
                                    std::optional<QList<Source>> sources = std::nullopt);

    ScanCategory category() const override { return ScanCategory::downloadedMedia; }
    CategoryResult scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const override;

    qint64 minimumSize() const { return minimumSize_; }
    // The media sources, built from the current home and Library folders.
    static QList<Source> defaultSources();

private:
    qint64 minimumSize_;
    std::optional<QList<Source>> sources_;
};

} // namespace harborlite
