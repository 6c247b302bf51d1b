#include "ui/window/DetailScreen.h"

#include "ui/components/EmptyStateView.h"
#include "ui/screens/ScreenServices.h"
#include "viewmodels/AppModel.h"

namespace harborlite {

QWidget* makeDetailScreen(Route route, AppModel& model, const ScreenServices& services, QWidget* parent)
{
    Q_UNUSED(model);
    Q_UNUSED(services);
    auto* placeholder = new EmptyStateView(symbol(route), title(route), QString(), std::nullopt, {}, parent);
    placeholder->setObjectName(QStringLiteral("placeholderScreen"));
    return placeholder;
}

} // namespace harborlite
