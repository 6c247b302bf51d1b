#pragma once

#include "paint/Palette.h"
#include "widgets/kit/Widget.h"

#include <QStringList>
#include <QWidget>

#include <chrono>
#include <memory>
#include <vector>

namespace harborlite {

class CompletionRelay;
class GalleryTile;

// Every kind of the bundle in every family it offers, in one appearance, with
// the kinds' names and descriptions. Each tile shows the widget's preview
// (its snapshot request in preview mode). With `offersAdding`, each tile has an
// "Add Widget" button.
class WidgetGallery : public QWidget {
    Q_OBJECT

public:
    WidgetGallery(const std::vector<const Widget*>& widgets, Appearance appearance, bool offersAdding,
                  QWidget* parent = nullptr);
    ~WidgetGallery() override;

    Appearance appearance() const { return appearance_; }
    const std::vector<GalleryTile*>& tiles() const { return tiles_; }
    // True once every tile shows its preview.
    bool isComplete() const;

    // The family's name as the gallery writes it ("Small", "Medium", ...).
    static QString familyName(WidgetFamily family);

    // Writes widgets-gallery-light.png and widgets-gallery-dark.png and one
    // picture per kind, family and appearance (<kind>-<family>-<appearance>.png)
    // into `folder`, once every preview has come or `patience` has passed; the
    // files written.
    static QStringList writePictures(const std::vector<const Widget*>& widgets, const QString& folder,
                                     std::chrono::milliseconds patience = std::chrono::seconds(30));

signals:
    void addRequested(const QString& kind, harborlite::WidgetFamily family);
    void completed();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void requestPreview(std::size_t index);

    Appearance appearance_;
    std::vector<GalleryTile*> tiles_;
    std::shared_ptr<CompletionRelay> relay_;
};

} // namespace harborlite
