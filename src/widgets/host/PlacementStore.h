#pragma once

#include "widgets/host/WidgetPlacement.h"

#include <QString>

#include <functional>
#include <vector>

namespace harborlite {

// The host's own file of placed widgets (nothing is shared with the
// application). Loading never fails: a file that is missing, unreadable or not
// the expected JSON reads as no placements, and entries that are malformed,
// repeat an identifier or name a kind or family the plug-in does not offer are
// dropped; whatever was dropped is written back repaired.
class PlacementStore {
public:
    using Offers = std::function<bool(const QString& kind, WidgetFamily family)>;

    struct Loaded {
        std::vector<WidgetPlacement> placements;
        // False on the first run, when there is no file yet.
        bool existed = false;
        // True when the file held anything that was dropped.
        bool repaired = false;
    };

    explicit PlacementStore(QString filePath);

    // placements.json in the host's configuration folder
    // (<XDG config home>/harborlite-widget-host).
    static QString standardFilePath();

    const QString& filePath() const { return filePath_; }

    Loaded load(const Offers& offers) const;
    // Replaces the file in one rename; false (with a warning) when it cannot.
    bool save(const std::vector<WidgetPlacement>& placements) const;

private:
    QString filePath_;
};

} // namespace harborlite
