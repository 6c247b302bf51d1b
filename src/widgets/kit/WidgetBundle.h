#pragma once

#include "widgets/kit/Widget.h"

#include <QtPlugin>

#include <vector>

namespace harborlite {

// What a widget plug-in exports: the widgets it declares, in their order.
class WidgetBundle {
public:
    virtual ~WidgetBundle() = default;

    // The widgets live as long as the bundle.
    virtual std::vector<const Widget*> widgets() const = 0;
};

} // namespace harborlite

// The interface's name and version; a plug-in built against another version
// carries another name and is refused.
#define HARBORLITE_WIDGET_BUNDLE_IID "org.harborlite.WidgetBundle/1"
Q_DECLARE_INTERFACE(harborlite::WidgetBundle, HARBORLITE_WIDGET_BUNDLE_IID)
