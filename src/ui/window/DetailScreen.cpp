#include "ui/window/DetailScreen.h"

#include "ui/components/EmptyStateView.h"
#include "ui/screens/ScreenServices.h"
#include "ui/screens/SmartScanView.h"
#include "viewmodels/AppModel.h"

namespace harborlite {

QWidget* makeDetailScreen(Route route, AppModel& model, const ScreenServices& services, QWidget* parent)
{
    switch (route) {
    case Route::smartScan:
        return new SmartScanView(model, services, parent);
    default:
        break;
    }
    auto* placeholder = new EmptyStateView(symbol(route), title(route), QString(), std::nullopt, {}, parent);
    placeholder->setObjectName(QStringLiteral("placeholderScreen"));
    return placeholder;
}

} // namespace harborlite
