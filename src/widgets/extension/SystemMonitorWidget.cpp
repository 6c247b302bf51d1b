#include "widgets/extension/SystemMonitorWidget.h"

#include "widgets/extension/MonitorProvider.h"
#include "widgets/extension/SystemMonitorEntryView.h"
#include "widgets/kit/StaticConfiguration.h"

#include <QCoreApplication>

namespace harborlite {

QString SystemMonitorWidget::displayName()
{
    return QCoreApplication::translate("SystemMonitorWidget", "System Monitor");
}

QString SystemMonitorWidget::description()
{
    return QCoreApplication::translate("SystemMonitorWidget", "CPU, memory, storage and network at a glance.");
}

std::unique_ptr<Widget> SystemMonitorWidget::body() const
{
    using Configuration = StaticConfiguration<MonitorProvider>;
    return std::make_unique<Configuration>(
        Configuration::Description{kind,
                                   displayName(),
                                   description(),
                                   {WidgetFamily::systemSmall, WidgetFamily::systemMedium, WidgetFamily::systemLarge}},
        MonitorProvider(), [](WidgetFamily family) { return std::make_unique<SystemMonitorEntryView>(family); });
}

} // namespace harborlite
