#pragma once

#include "widgets/kit/WidgetEntry.h"

#include <QWidget>

namespace harborlite {

// The view of one placed widget: shows the entries of the widget that made it.
// The host gives it its family's display size and renders it; the view paints
// its background over the whole size and keeps its content inside the margin.
class WidgetView : public QWidget {
public:
    using QWidget::QWidget;

    // `entry` comes from the widget that made this view.
    virtual void setEntry(const WidgetEntry& entry) = 0;
};

// A view of the entries of one provider's entry type.
template <typename Entry>
class EntryView : public WidgetView {
public:
    using WidgetView::WidgetView;

    void setEntry(const WidgetEntry& entry) final
    {
        if (entry.value) {
            display(*static_cast<const Entry*>(entry.value.get()));
        }
    }

    virtual void display(const Entry& entry) = 0;
};

} // namespace harborlite
