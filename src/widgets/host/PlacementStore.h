#pragma once

#include "widgets/host/WidgetPlacement.h"

#include <QString>

#include <functional>
#include <vector>

namespace harborlite {

// The host's own file of placed widgets (nothing is shared with the
// application). Loading never fails: a file that is missing or unreadable
// reads as no placements; a file cut short keeps the entries that ended before
// the damage; entries that are malformed, repeat an identifier or name a kind
// or family the plug-in does not offer are dropped. A file that needed any of
// this is kept beside as `placements.json.bad-<time>`, the repaired list is
// written in its place and one warning says so.
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
