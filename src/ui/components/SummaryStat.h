#pragma once

#include "paint/Palette.h"

#include <QWidget>

namespace harborlite {

class RoleLabel;

// The small statistic tile of a summary row: a 15-pixel symbol on a 30-pixel
// disc of its tint at 0.13, the 11 caption over the 17 bold value, padded 13
// on glass of radius 18. Stretches to the width it is given, content leading.
class SummaryStat : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 18;
    static constexpr int kPadding = 13;
    static constexpr int kSpacing = 11;
    static constexpr int kDiscSide = 30;
    static constexpr qreal kSymbolSide = 15;
    static constexpr qreal kDiscOpacity = 0.13;

    SummaryStat(const QString& title, const QString& value, const QString& symbol, PaletteRole tint,
                QWidget* parent = nullptr);

    QString title() const;
    QString value() const;
    void setValue(const QString& value);
    const QString& symbol() const { return symbol_; }
    PaletteRole tint() const { return tint_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString symbol_;
    PaletteRole tint_;
    RoleLabel* title_;
    RoleLabel* value_;
};

} // namespace harborlite
