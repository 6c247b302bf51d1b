#pragma once

#include "engine/apps/AppCatalog.h"
#include "engine/models/CleanupReport.h"
#include "engine/models/UninstallPlan.h"
#include "engine/removal/Remover.h"
#include "platform/RunningApplications.h"
#include "platform/ToolTable.h"

#include <chrono>
#include <functional>

namespace harborlite {

// Removes an application with its support files and installer residue. Both
// steps block; callers run them off the GUI thread.
class Uninstaller {
public:
    // Removes the locations in the given mode and reports what happened.
    using RemoveFn = std::function<CleanupReport(const QStringList& locations, Remover::Mode mode)>;

    Uninstaller() = default;
    // The catalogue whose support locations the plan lists, how long a running
    // application gets to quit before it is forced to, the removal step, the
    // programs started (receipt tool, administrator prompt, rm) and the
    // processes an application runs as.
    Uninstaller(AppCatalog catalog, std::chrono::milliseconds quitGracePeriod, RemoveFn remove = {},
                platform::ToolTable tools = {},
                platform::RunningApplications running = platform::runningApplications());

    // Time a Flatpak removal may take, its own password prompt included.
    static constexpr double flatpakTimeoutSeconds = 900;

    // The application's leftovers (support locations, or a Linux form's exact
    // leftovers) and, for bundles, the installer residue and receipts.
    UninstallPlan plan(const InstalledApp& app) const;

    // Quits the application, removes the selected items and then the bundle
    // (an AppImage: its file), retries the bundle as administrator when a
    // missing right stopped it, and when nothing failed makes the system
    // forget the application's receipts. A Flatpak application is removed by
    // "flatpak uninstall --noninteractive --user|--system <id>" first, and
    // its selected leftovers only once that succeeded. A Debian package's
    // application is never removed: the report holds one failure for it.
    CleanupReport uninstall(const UninstallPlan& plan, Remover::Mode mode) const;

    // Why a Debian package's application is not removed here, as the report
    // and the screens say it.
    static QString packagedReason();

private:
    static CleanupReport refusedAsPackaged(const UninstallPlan& plan);
    CleanupReport uninstallFlatpak(const UninstallPlan& plan, Remover::Mode mode) const;
    CleanupReport remove(const QStringList& locations, Remover::Mode mode) const;
    void quitIfRunning(const UninstallPlan& plan) const;

    AppCatalog catalog_;
    std::chrono::milliseconds quitGracePeriod_{1000};
    RemoveFn remove_;
    platform::ToolTable tools_;
    platform::RunningApplications running_ = platform::runningApplications();
};

} // namespace harborlite
