#pragma once

#include "paint/Palette.h"

#include <QWidget>

#include <optional>

namespace harborlite {

// One system symbol in a square of `side` pixels, filled with a palette
// colour at an opacity, or with the accent gradient when no colour is given.
class SymbolView : public QWidget {
    Q_OBJECT

public:
    SymbolView(const QString& symbol, qreal side, std::optional<AdaptiveColor> color, qreal opacity = 1,
               QWidget* parent = nullptr);

    const QString& symbol() const { return symbol_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString symbol_;
    qreal side_;
    std::optional<AdaptiveColor> color_;
    qreal opacity_;
};

} // namespace harborlite
