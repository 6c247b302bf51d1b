#pragma once

#include "engine/models/MaintenanceTask.h"
#include "engine/system/LocalSnapshots.h"
#include "model/SystemTools.h"
#include "shared/PaletteRole.h"

#include <QList>
#include <QString>

#include <optional>

// What the maintenance screen shows for the model's values, as plain data:
// texts, palette roles and flags. The widgets only draw these.
namespace harborlite::MaintenancePresentation {

// One finished run, as the model logs it (newest first).
using Run = SystemTools::MaintenanceLogEntry;

// "Recent runs" lists at most this many of the newest runs.
inline constexpr qsizetype kRecentRunCount = 8;

QString title();
QString subtitle();
QString headerSymbol();
QString notice();
QString recentRunsTitle();
QString lockToolTip();

// What a card is given for its task each time the screen is drawn.
struct CardInputs {
    // The task is the one running now.
    bool isRunning = false;
    // Another task is running now.
    bool isBlocked = false;
    // The task's tool is an executable file here.
    bool isAvailable = false;
    std::optional<QString> reclaimable;
    // The task's newest run.
    std::optional<Run> outcome;

    bool operator==(const CardInputs&) const = default;
};

CardInputs cardInputs(const MaintenanceTask& task, const std::optional<QString>& running, const QList<Run>& log,
                      const std::optional<LocalSnapshots>& snapshots, bool isAvailable);

// The snapshot line of the snapshot-thinning card: "1 snapshot", "3 snapshots",
// with " · about <bytes> purgeable" when there is purgeable space; none for
// every other task, before the first measurement and for a count of 0.
std::optional<QString> reclaimableLine(const QString& taskId, const std::optional<LocalSnapshots>& snapshots);

// The first run of the task in the log, which is its newest.
std::optional<Run> newestOutcome(const QString& taskId, const QList<Run>& log);

// The outcome line of a card: a triangle and the message in the danger colour
// for a failure, an information mark and the message in the secondary ink
// when the task found nothing to work on, a check in the accent and the
// message in the deep accent otherwise.
struct OutcomeLook {
    QString symbol;
    PaletteRole symbolRole = PaletteRole::accent;
    QString message;
    PaletteRole messageRole = PaletteRole::accentDeep;

    bool operator==(const OutcomeLook&) const = default;
};

struct CardLook {
    // "Running…" while it runs, "Unavailable" without its tool, else "Run".
    QString buttonTitle;
    bool showsSpinner = false;
    // Only an available task, with nothing running, can be started.
    bool buttonEnabled = false;
    // "Not on this macOS" without its tool.
    bool showsUnavailableMarker = false;
    // The card's help text without its tool: which tool is missing.
    std::optional<QString> unavailableReason;
    // The lock of a task that asks for an administrator password.
    bool showsLock = false;
    std::optional<QString> reclaimable;
    std::optional<OutcomeLook> outcome;

    bool operator==(const CardLook&) const = default;
};

CardLook cardLook(const MaintenanceTask& task, const CardInputs& inputs);

// One row of "Recent runs": a cross in the danger colour for a failure, an
// information mark in the tertiary ink for a task that found nothing to work
// on, else a check in the accent; the message, and when it ended relative to now.
struct RecentRun {
    QString symbol;
    PaletteRole symbolRole = PaletteRole::accent;
    QString message;
    QString time;

    bool operator==(const RecentRun&) const = default;
};

// The newest runs of any task, at most kRecentRunCount, newest first; empty
// (no panel at all) for an empty log.
QList<RecentRun> recentRuns(const QList<Run>& log);

} // namespace harborlite::MaintenancePresentation
