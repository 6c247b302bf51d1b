#pragma once

#include "ui/components/InnerCard.h"

#include "shared/PaletteRole.h"

namespace harborlite {

class RoleLabel;
class SymbolView;

// A standing notice of a screen: a 14-pixel symbol in the notice's colour,
// the wrapping 11.5 text in the secondary ink, padded 12 on an inner card of
// radius 14 (inner fill, hairline edge).
class NoticeBlock : public InnerCard {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 14;
    static constexpr int kPadding = 12;
    static constexpr int kSpacing = 11;
    static constexpr qreal kSymbolSide = 14;
    static constexpr qreal kTextSize = 11.5;

    NoticeBlock(const QString& symbol, PaletteRole tint, const QString& text, QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;
    PaletteRole tint() const { return tint_; }
    const QString& symbol() const { return symbol_; }

private:
    QString symbol_;
    PaletteRole tint_;
    RoleLabel* text_;
};

} // namespace harborlite
