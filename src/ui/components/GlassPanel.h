#pragma once

#include "paint/Palette.h"

#include <QWidget>

#include <optional>

namespace harborlite {

// Puts its children on the glass surface: a rounded rectangle of the given
// radius with the material, the card at 0.55, the optional tint at 0.18 and the
// surface stroke inside the edge. Children are laid out by the caller's layout.
class GlassPanel : public QWidget {
    Q_OBJECT

public:
    explicit GlassPanel(qreal cornerRadius, std::optional<AdaptiveColor> tint = std::nullopt,
                        QWidget* parent = nullptr);

    qreal cornerRadius() const { return cornerRadius_; }
    void setTint(std::optional<AdaptiveColor> tint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal cornerRadius_;
    std::optional<AdaptiveColor> tint_;
};

} // namespace harborlite
