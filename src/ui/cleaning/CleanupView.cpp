#include "ui/cleaning/CleanupView.h"

#include "model/ScanSession.h"

namespace harborlite {

CleanupView::CleanupView(ScanSession& scans, MonitorFeed& feed, const ScreenServices& services, QWidget* parent)
    : CategoryListScreen(setup(), scans, feed, services, parent)
{
    setObjectName(QStringLiteral("cleanupView"));
}

CategoryListSetup CleanupView::setup()
{
    CategoryListSetup setup;
    setup.categories =
        QList<ScanCategory>(ScanSession::cleanupCategories.begin(), ScanSession::cleanupCategories.end());
    setup.title = tr("Cleanup");
    setup.subtitle = tr("Caches, logs, trash and orphaned support files.");
    setup.symbol = QStringLiteral("trash.circle");
    setup.scanTitle = tr("Scan All");
    setup.freeTitle = tr("Free after clean");
    setup.buttonTitle = tr("Clean");
    return setup;
}

} // namespace harborlite
