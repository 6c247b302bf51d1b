#pragma once

#include "paint/Palette.h"
#include "ui/theme/SoftShadow.h"

#include <QMargins>
#include <QPixmap>

class QPainter;
class QWidget;

namespace harborlite {

// A glass surface with its soft shadow in accentDeep, filling a widget less
// the shadow's margins. Both are drawn once per size and appearance and then
// copied, since a live display repaints on every sample.
class RaisedGlass {
public:
    RaisedGlass(qreal cornerRadius, qreal shadowRadius, qreal shadowOpacity);

    // Room around the surface for the shadow, in whole pixels.
    QMargins margins() const;

    void paint(QPainter& painter, const QWidget& widget);

private:
    qreal cornerRadius_;
    SoftShadow shadow_;
    QPixmap cached_;
    Appearance cachedAppearance_ = Appearance::light;
};

} // namespace harborlite
