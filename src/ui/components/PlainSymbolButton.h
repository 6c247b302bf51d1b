#pragma once

#include "paint/Palette.h"

#include <QAbstractButton>

namespace harborlite {

// A system symbol drawn as a button without bezel or background, as the close
// buttons of the banners are.
class PlainSymbolButton : public QAbstractButton {
    Q_OBJECT

public:
    PlainSymbolButton(const QString& symbol, qreal pixelSize, const AdaptiveColor& color, QWidget* parent = nullptr);

    const QString& symbol() const { return symbol_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString symbol_;
    qreal pixelSize_;
    AdaptiveColor color_;
};

} // namespace harborlite
