#pragma once

#include "paint/Palette.h"
#include "widgets/kit/WidgetEntry.h"
#include "widgets/kit/WidgetFamily.h"

#include <QImage>
#include <QWidget>

#include <memory>

namespace harborlite {

class Widget;
class WidgetView;

// One widget of the gallery at its family's size: the widget's own view,
// rendered in the gallery's appearance, in the rounded frame.
class GalleryTile : public QWidget {
public:
    GalleryTile(const Widget& widget, WidgetFamily family, Appearance appearance, QWidget* parent = nullptr);
    ~GalleryTile() override;

    const Widget& widget() const { return widget_; }
    WidgetFamily family() const { return family_; }
    bool hasPreview() const { return hasPreview_; }

    // Shows `entry` of the tile's widget.
    void setEntry(const WidgetEntry& entry);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Widget& widget_;
    WidgetFamily family_;
    std::unique_ptr<WidgetView> view_;
    QImage picture_;
    bool hasPreview_ = false;
};

} // namespace harborlite
