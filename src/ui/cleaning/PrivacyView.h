#pragma once

#include "ui/cleaning/SingleCategoryScreen.h"

namespace harborlite {

// The Privacy destination: what browsers and the desktop remember about the
// user.
class PrivacyView : public SingleCategoryScreen {
    Q_OBJECT

public:
    PrivacyView(ScanSession& scans, MonitorFeed& feed, const ScreenServices& services, QWidget* parent = nullptr);

    static SingleCategorySetup setup();
};

} // namespace harborlite
