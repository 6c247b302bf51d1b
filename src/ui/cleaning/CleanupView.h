#pragma once

#include "ui/cleaning/CategoryListScreen.h"

namespace harborlite {

// The Cleanup destination: the six everyday categories scanned, reviewed and
// cleaned together, in the mode chosen in its picker.
class CleanupView : public CategoryListScreen {
    Q_OBJECT

public:
    CleanupView(ScanSession& scans, MonitorFeed& feed, const ScreenServices& services, QWidget* parent = nullptr);

    static CategoryListSetup setup();
};

} // namespace harborlite
