#pragma once

#include "widgets/kit/WidgetBundle.h"

#include <QObject>

#include <memory>

namespace harborlite {

// The plug-in's entry: the system-monitor widget, then the storage widget.
class HarborliteWidgetBundle final : public QObject, public WidgetBundle {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID HARBORLITE_WIDGET_BUNDLE_IID)
    Q_INTERFACES(harborlite::WidgetBundle)

public:
    HarborliteWidgetBundle();
    ~HarborliteWidgetBundle() override;

    std::vector<const Widget*> widgets() const override;

private:
    std::unique_ptr<Widget> systemMonitor_;
    std::unique_ptr<Widget> storage_;
};

} // namespace harborlite
