#include "ui/components/GlassPanel.h"

#include "ui/theme/GlassSurface.h"

#include <QPainter>

namespace harborlite {

GlassPanel::GlassPanel(qreal cornerRadius, std::optional<AdaptiveColor> tint, QWidget* parent)
    : QWidget(parent)
    , cornerRadius_(cornerRadius)
    , tint_(std::move(tint))
{
}

void GlassPanel::setTint(std::optional<AdaptiveColor> tint)
{
    tint_ = std::move(tint);
    update();
}

void GlassPanel::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    GlassSurface::paint(painter, rect(), cornerRadius_, appearance,
                        tint_ ? std::optional(tint_->resolve(appearance)) : std::nullopt);
}

} // namespace harborlite
