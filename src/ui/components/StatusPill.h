#pragma once

#include "paint/Palette.h"

#include <QWidget>

#include <optional>

namespace harborlite {

// A tinted capsule label marking a state of a row or card: the optional
// symbol and the text in the tint, on the tint at 0.14.
class StatusPill : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kSymbolSide = 10;
    static constexpr qreal kSpacing = 5;
    static constexpr qreal kHorizontalPadding = 10;
    static constexpr qreal kVerticalPadding = 5;
    static constexpr qreal kFillOpacity = 0.14;

    StatusPill(const QString& text, const AdaptiveColor& tint, std::optional<QString> symbol = std::nullopt,
               QWidget* parent = nullptr);

    // The capsule's size around a text of the given size, with or without the
    // symbol before it.
    static QSizeF size(const QSizeF& textSize, bool hasSymbol);

    const QString& text() const { return text_; }
    const std::optional<QString>& symbol() const { return symbol_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSizeF textSize() const;

    QString text_;
    AdaptiveColor tint_;
    std::optional<QString> symbol_;
};

} // namespace harborlite
