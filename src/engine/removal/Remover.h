#pragma once

#include "engine/models/CleanupReport.h"
#include "engine/models/RemovalMode.h"
#include "platform/FileWriter.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <utility>

namespace harborlite {

// The only place that deletes what a user selected. Every location is put to
// the safety guard again right before it is touched; what the guard refuses
// or the removal fails on becomes a failure of the report, in input order.
class Remover {
public:
    using Mode = RemovalMode;
    static constexpr std::array<Mode, 3> allModes = allRemovalModes;

    // Called before each location with the share of locations done, and once at
    // the end with 1 and the last location (the home folder for an empty list).
    using Progress = std::function<void(double fraction, const QString& location)>;

    // `writer` carries shredding's writes and flush.
    explicit Remover(Mode mode, platform::FileWriter writer = platform::realFileWriter())
        : mode_(mode)
        , writer_(std::move(writer))
    {
    }

    Mode mode() const { return mode_; }

    // Removes each location in order and reports what was reclaimed: the size
    // measured before removal of every location removed. A location that no
    // longer exists is skipped without a failure. `trash` moves an item to the
    // Trash of its volume (an item already in a Trash is deleted for good, as
    // moving it again would reclaim nothing); `permanent` deletes it; `shred`
    // overwrites every regular file with random bytes, flushes it to the device,
    // then deletes it. Links are removed as themselves, never followed; a folder
    // holding another mounted volume is not entered. Removing an entry of a
    // Trash also removes its info file. Failures whose cause is a missing right
    // read with the word "Permission". The way to each location is opened
    // without following links from folders taken when the run starts
    // (platform::PlannedWay): a location whose way now holds a link fails with
    // "The location changed since the scan" and nothing is done to it.
    CleanupReport remove(const QStringList& locations, bool userSelected, const Progress& progress = {}) const;

private:
    Mode mode_;
    platform::FileWriter writer_;
};

} // namespace harborlite
