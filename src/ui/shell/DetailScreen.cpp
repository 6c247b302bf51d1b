#include "ui/shell/DetailScreen.h"

#include "model/AppModel.h"
#include "ui/applications/ApplicationsView.h"
#include "ui/cleaning/CleanupView.h"
#include "ui/cleaning/LargeFilesView.h"
#include "ui/cleaning/PrivacyView.h"
#include "ui/cleaning/ProtectionView.h"
#include "ui/cleaning/ReclaimView.h"
#include "ui/cleaning/ShredderView.h"
#include "ui/cleaning/SmartScanView.h"
#include "ui/components/EmptyStateView.h"
#include "ui/components/ScreenServices.h"
#include "ui/diskmap/RuvozEzazView.h"
#include "ui/maintenance/MaintenanceView.h"
#include "ui/monitor/WidgetsView.h"
#include "ui/performance/PerformanceView.h"

namespace harborlite {

QWidget* makeDetailScreen(Route route, AppModel& model, const ScreenServices& services, QWidget* parent)
{
    ScanSession& scans = model.scanSession();
    MonitorFeed& feed = model.monitorFeed();
    switch (route) {
    case Route::smartScan:
        return new SmartScanView(
            scans, feed, [&model](Route next) { model.setRoute(next); }, services, parent);
    case Route::cleanup:
        return new CleanupView(scans, feed, services, parent);
    case Route::largeFiles:
        return new LargeFilesView(scans, feed, services, parent);
    case Route::reclaim:
        return new ReclaimView(scans, feed, services, parent);
    case Route::privacy:
        return new PrivacyView(scans, feed, services, parent);
    case Route::protection:
        return new ProtectionView(scans, feed, services, parent);
    case Route::shredder:
        return new ShredderView(model.systemTools(), services, parent);
    case Route::applications:
        return new ApplicationsView(model.systemTools(), scans, services, parent);
    case Route::performance:
        return new PerformanceView(model.systemTools(), feed, parent);
    case Route::maintenance:
        return new MaintenanceView(model.systemTools(), feed, MaintenanceService().tasks(), parent);
    case Route::ruvozEzaz:
        return new RuvozEzazView(model.diskMap(), scans, model.systemTools(), services, {}, parent);
    case Route::widgets:
        return new WidgetsView(model, parent);
    default:
        break;
    }
    auto* placeholder = new EmptyStateView(symbol(route), title(route), QString(), std::nullopt, {}, parent);
    placeholder->setObjectName(QStringLiteral("placeholderScreen"));
    return placeholder;
}

} // namespace harborlite
