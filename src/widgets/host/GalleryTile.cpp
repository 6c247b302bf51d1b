#include "widgets/host/GalleryTile.h"

#include "widgets/host/WidgetPicture.h"
#include "widgets/kit/Widget.h"

#include <QPainter>

namespace harborlite {

GalleryTile::GalleryTile(const Widget& widget, WidgetFamily family, Appearance appearance, QWidget* parent)
    : QWidget(parent)
    , widget_(widget)
    , family_(family)
    , view_(widget.makeView(family))
{
    view_->resize(displaySize(family));
    Palette::setOwnAppearance(view_.get(), appearance);
    setFixedSize(displaySize(family));
    setAccessibleName(widget.displayName());
}

GalleryTile::~GalleryTile() = default;

void GalleryTile::setEntry(const WidgetEntry& entry)
{
    view_->setEntry(entry);
    picture_ = WidgetPicture::render(*view_, devicePixelRatioF());
    hasPreview_ = true;
    setAccessibleDescription(WidgetPicture::accessibleSummary(*view_));
    update();
}

QSize GalleryTile::sizeHint() const
{
    return displaySize(family_);
}

void GalleryTile::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect());
    if (!picture_.isNull()) {
        WidgetPicture::paint(painter, frame, picture_);
    }
    painter.setPen(QPen(Palette::hairline().resolve(Palette::appearance(this)), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(WidgetPicture::frame(frame.adjusted(0.5, 0.5, -0.5, -0.5)));
}

} // namespace harborlite
