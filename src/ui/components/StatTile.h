#pragma once

#include "paint/Palette.h"

#include <QWidget>

namespace harborlite {

// A compact card with one live reading: symbol and title, a large value, a
// thin level bar and a one-line caption. Takes all the width it is offered.
class StatTile : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kPadding = 14;
    static constexpr qreal kSpacing = 10;
    static constexpr qreal kHeaderSpacing = 7;
    static constexpr qreal kSymbolSide = 12;
    static constexpr qreal kBarHeight = 6;
    static constexpr qreal kCornerRadius = 16;
    static constexpr qreal kEdgeWidth = 0.8;

    StatTile(const QString& title, const QString& value, const QString& caption, double fraction, const QString& symbol,
             const AdaptiveColor& tint, QWidget* parent = nullptr);

    // The bar's fill for a content width: at least a 6-wide stub, the
    // fraction clamped to 0…1 and a fraction that is not a number taken as 0.
    static qreal fillWidth(qreal width, double fraction);

    void setValue(const QString& value);
    void setCaption(const QString& caption);
    void setFraction(double fraction);

    const QString& value() const { return value_; }
    double fraction() const { return fraction_; }
    // Where the level bar lies in the tile.
    QRectF barRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal headerHeight() const;

    QString title_;
    QString value_;
    QString caption_;
    double fraction_;
    QString symbol_;
    AdaptiveColor tint_;
    QFont titleFont_;
    QFont valueFont_;
    QFont captionFont_;
};

} // namespace harborlite
