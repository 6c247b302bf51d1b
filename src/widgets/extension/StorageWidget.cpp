#include "widgets/extension/StorageWidget.h"

#include "widgets/extension/MonitorProvider.h"
#include "widgets/extension/StorageEntryView.h"
#include "widgets/kit/StaticConfiguration.h"

#include <QCoreApplication>

namespace harborlite {

QString StorageWidget::displayName()
{
    return QCoreApplication::translate("StorageWidget", "Storage");
}

QString StorageWidget::description()
{
    return QCoreApplication::translate("StorageWidget", "How much room is left on your startup disk.");
}

std::unique_ptr<Widget> StorageWidget::body() const
{
    using Configuration = StaticConfiguration<MonitorProvider>;
    return std::make_unique<Configuration>(
        Configuration::Description{
            kind, displayName(), description(), {WidgetFamily::systemSmall, WidgetFamily::systemMedium}},
        MonitorProvider(), [](WidgetFamily family) { return std::make_unique<StorageEntryView>(family); });
}

} // namespace harborlite
