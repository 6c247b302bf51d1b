#pragma once

#include "engine/models/InstalledApp.h"
#include "engine/models/PackageReceipt.h"
#include "engine/models/ScanItem.h"
#include "platform/FileIdentity.h"

#include <QList>

#include <optional>

namespace harborlite {

// What uninstalling one application would remove; the user may flip single
// items between planning and uninstalling.
struct UninstallPlan {
    InstalledApp app;
    // Support files, largest first, all selected.
    QList<ScanItem> leftovers;
    // Locations the application's installer packages placed, largest first, none selected.
    QList<ScanItem> installedResidue;
    QList<PackageReceipt> receipts;
    // The application's file as it was when planned (AppImages), so that a file
    // or a link put under its name since is never taken for it when quitting.
    std::optional<platform::FileIdentity> appFile;

    QString id() const { return app.bundleID; }
};

} // namespace harborlite
