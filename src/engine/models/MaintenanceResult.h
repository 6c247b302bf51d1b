#pragma once

#include <QString>

#include <utility>

namespace harborlite {

// What a finished maintenance task reports: its sentence for the user, and
// whether it found nothing to work on (no Mail database to compact), which is
// neither a failure nor a change made.
struct MaintenanceResult {
    QString message;
    bool changedNothing = false;

    // A plain sentence is a task that did its work.
    MaintenanceResult(QString sentence, bool nothingToDo = false)
        : message(std::move(sentence))
        , changedNothing(nothingToDo)
    {
    }

    bool operator==(const MaintenanceResult&) const = default;
};

} // namespace harborlite
