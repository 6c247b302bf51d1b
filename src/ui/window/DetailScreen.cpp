#include "ui/window/DetailScreen.h"

#include "ui/components/EmptyStateView.h"
#include "ui/screens/CleanupView.h"
#include "ui/screens/LargeFilesView.h"
#include "ui/screens/PrivacyView.h"
#include "ui/screens/ProtectionView.h"
#include "ui/screens/ReclaimView.h"
#include "ui/screens/ScreenServices.h"
#include "ui/screens/SmartScanView.h"
#include "viewmodels/AppModel.h"

namespace harborlite {

QWidget* makeDetailScreen(Route route, AppModel& model, const ScreenServices& services, QWidget* parent)
{
    switch (route) {
    case Route::smartScan:
        return new SmartScanView(model, services, parent);
    case Route::cleanup:
        return new CleanupView(model, services, parent);
    case Route::largeFiles:
        return new LargeFilesView(model, services, parent);
    case Route::reclaim:
        return new ReclaimView(model, services, parent);
    case Route::privacy:
        return new PrivacyView(model, services, parent);
    case Route::protection:
        return new ProtectionView(model, services, parent);
    default:
        break;
    }
    auto* placeholder = new EmptyStateView(symbol(route), title(route), QString(), std::nullopt, {}, parent);
    placeholder->setObjectName(QStringLiteral("placeholderScreen"));
    return placeholder;
}

} // namespace harborlite
