#include "ui/maintenance/MaintenancePresentation.h"

#include "engine/system/MaintenanceService.h"
#include "shared/Formatting.h"

#include <QCoreApplication>

namespace harborlite::MaintenancePresentation {

QString title()
{
    return QCoreApplication::translate("MaintenanceView", "Maintenance");
}

QString subtitle()
{
    return QCoreApplication::translate("MaintenanceView",
                                       "Repair scripts macOS normally only runs on its own schedule.");
}

QString headerSymbol()
{
    return QStringLiteral("wrench.and.screwdriver");
}

QString notice()
{
    return QCoreApplication::translate(
        "MaintenanceView",
        "Tasks marked with a lock ask macOS for an administrator password. Harborlite never sees or stores "
        "it \u2014 the prompt comes from the system.");
}

QString recentRunsTitle()
{
    return QCoreApplication::translate("MaintenanceView", "Recent runs");
}

QString lockToolTip()
{
    return QCoreApplication::translate("MaintenanceView", "Asks for an administrator password.");
}

CardInputs cardInputs(const MaintenanceTask& task, const std::optional<QString>& running, const QList<Run>& log,
                      const std::optional<LocalSnapshots>& snapshots, bool isAvailable)
{
    CardInputs made;
    made.isRunning = running && *running == task.id;
    made.isBlocked = running && *running != task.id;
    made.isAvailable = isAvailable;
    made.reclaimable = reclaimableLine(task.id, snapshots);
    made.outcome = newestOutcome(task.id, log);
    return made;
}

std::optional<QString> reclaimableLine(const QString& taskId, const std::optional<LocalSnapshots>& snapshots)
{
    if (taskId != QLatin1String("thinSnapshots") || !snapshots || snapshots->count == 0) {
        return std::nullopt;
    }
    QString line = (snapshots->count == 1 ? QCoreApplication::translate("MaintenanceView", "%1 snapshot")
                                          : QCoreApplication::translate("MaintenanceView", "%1 snapshots"))
                       .arg(QString::number(snapshots->count));
    if (snapshots->purgeableBytes > 0) {
        line += QCoreApplication::translate("MaintenanceView", " \u00B7 about %1 purgeable")
                    .arg(Format::bytes(snapshots->purgeableBytes));
    }
    return line;
}

std::optional<Run> newestOutcome(const QString& taskId, const QList<Run>& log)
{
    for (const Run& run : log) {
        if (run.id == taskId) {
            return run;
        }
    }
    return std::nullopt;
}

CardLook cardLook(const MaintenanceTask& task, const CardInputs& inputs)
{
    CardLook look;
    if (inputs.isRunning) {
        look.buttonTitle = QCoreApplication::translate("MaintenanceView", "Running\u2026");
        look.showsSpinner = true;
    } else if (!inputs.isAvailable) {
        look.buttonTitle = QCoreApplication::translate("MaintenanceView", "Unavailable");
    } else {
        look.buttonTitle = QCoreApplication::translate("MaintenanceView", "Run");
        look.buttonEnabled = !inputs.isBlocked;
    }
    look.showsUnavailableMarker = !inputs.isAvailable;
    if (!inputs.isAvailable) {
        look.unavailableReason = MaintenanceService::missingToolReason(task);
    }
    look.showsLock = task.needsAdministrator;
    look.reclaimable = inputs.reclaimable;
    if (inputs.outcome) {
        if (inputs.outcome->isError) {
            look.outcome = OutcomeLook{QStringLiteral("exclamationmark.triangle.fill"), PaletteRole::danger,
                                       inputs.outcome->message, PaletteRole::danger};
        } else if (inputs.outcome->changedNothing) {
            look.outcome = OutcomeLook{QStringLiteral("info.circle.fill"), PaletteRole::inkTertiary,
                                       inputs.outcome->message, PaletteRole::inkSecondary};
        } else {
            look.outcome = OutcomeLook{QStringLiteral("checkmark.circle.fill"), PaletteRole::accent,
                                       inputs.outcome->message, PaletteRole::accentDeep};
        }
    }
    return look;
}

QList<RecentRun> recentRuns(const QList<Run>& log)
{
    QList<RecentRun> rows;
    for (const Run& run : log.first(std::min(log.size(), kRecentRunCount))) {
        if (run.isError) {
            rows.append(
                {QStringLiteral("xmark.circle.fill"), PaletteRole::danger, run.message, Format::relativeDate(run.at)});
        } else if (run.changedNothing) {
            rows.append({QStringLiteral("info.circle.fill"), PaletteRole::inkTertiary, run.message,
                         Format::relativeDate(run.at)});
        } else {
            rows.append({QStringLiteral("checkmark.circle.fill"), PaletteRole::accent, run.message,
                         Format::relativeDate(run.at)});
        }
    }
    return rows;
}

} // namespace harborlite::MaintenancePresentation
