#pragma once

#include "ui/cleaning/SingleCategoryScreen.h"

namespace harborlite {

// The Large & Old Files destination: the user's own big, long-unopened files;
// removing them may reach the personal folders.
class LargeFilesView : public SingleCategoryScreen {
    Q_OBJECT

public:
    LargeFilesView(ScanSession& scans, MonitorFeed& feed, const ScreenServices& services, QWidget* parent = nullptr);

    static SingleCategorySetup setup();
};

} // namespace harborlite
