#pragma once

#include "paint/Palette.h"

#include <QPixmap>
#include <QWidget>

namespace harborlite {

// A monitor's symbol in its tint, optionally centred on a circle of the tint
// at `backdropOpacity` that fills the widget. The tint can change with the
// reading, so unlike SymbolView it is settable.
class MonitorSymbol : public QWidget {
    Q_OBJECT

public:
    MonitorSymbol(const QString& symbol, qreal symbolSide, qreal side, qreal backdropOpacity,
                  QWidget* parent = nullptr);

    const QString& symbol() const { return symbol_; }
    void setTint(const AdaptiveColor& tint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString symbol_;
    qreal symbolSide_;
    qreal backdropOpacity_;
    AdaptiveColor tint_;
    // Drawing a theme icon costs a theme lookup and a mask; a tick repaints
    // with the same colour, so the drawn symbol is kept.
    QPixmap cached_;
    QColor cachedColor_;
};

} // namespace harborlite
