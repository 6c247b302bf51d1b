#include "widgets/extension/plugin/HarborliteWidgetBundle.h"

#include "widgets/extension/StorageWidget.h"
#include "widgets/extension/SystemMonitorWidget.h"

namespace harborlite {

HarborliteWidgetBundle::HarborliteWidgetBundle()
    : systemMonitor_(SystemMonitorWidget().body())
    , storage_(StorageWidget().body())
{
}

HarborliteWidgetBundle::~HarborliteWidgetBundle() = default;

std::vector<const Widget*> HarborliteWidgetBundle::widgets() const
{
    return {systemMonitor_.get(), storage_.get()};
}

} // namespace harborlite
