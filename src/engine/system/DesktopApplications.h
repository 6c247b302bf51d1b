#pragma once

#include "engine/system/ProcessService.h"

#include <QList>
#include <QStringList>

namespace harborlite {

// The desktop's applications among the running processes. Linux keeps no list
// of running applications, so a process counts as one when it is the user's
// own and either runs the program of a visible desktop entry (its Exec
// program, found on the search path when it names no folder) or runs inside a
// Flatpak sandbox. The entries are read afresh on every call.
class DesktopApplications {
public:
    struct Locations {
        // Folders of desktop entries; of two entries with one file name the
        // first folder's counts, hidden or not.
        QStringList entryFolders;
        // Where a program named without a folder is looked for.
        QStringList searchPath;

        // <XDG data home>/applications, then "applications" in each folder of
        // $XDG_DATA_DIRS (/usr/local/share and /usr/share when unset); $PATH.
        static Locations standard();
    };

    explicit DesktopApplications(Locations locations = Locations::standard());

    // The applications among the processes with the given pids under the proc
    // root (platform::procRoot), in pid order, named as their entries are;
    // never pid 1 or this process. Unreadable entries and processes, and pids
    // that name none, add nothing.
    QList<ProcessService::Application> running(QList<qint32> pids) const;

private:
    Locations locations_;
};

} // namespace harborlite
