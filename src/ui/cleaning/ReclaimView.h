#pragma once

#include "ui/cleaning/CategoryListScreen.h"

namespace harborlite {

// The Duplicates & Backups destination: duplicate files and device backups,
// scanned together and never preselected.
class ReclaimView : public CategoryListScreen {
    Q_OBJECT

public:
    ReclaimView(ScanSession& scans, MonitorFeed& feed, const ScreenServices& services, QWidget* parent = nullptr);

    static CategoryListSetup setup();
};

} // namespace harborlite
