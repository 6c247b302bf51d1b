#pragma once

#include "paint/Palette.h"

#include <QAbstractButton>

#include <optional>

namespace harborlite {

// A selectable option drawn as a capsule: selected, the accent gradient with
// a white symbol and title; not selected, the hover fill with a one-pixel
// hairline inside its edge and the secondary ink. The whole capsule is the
// hit area. A click emits `clicked` only: the owner decides what is selected
// and shows it with setSelected.
class CapsuleChip : public QAbstractButton {
    Q_OBJECT

public:
    struct Metrics {
        qreal symbolSize;
        QFont::Weight symbolWeight;
        qreal titleSize;
        QFont::Weight titleWeight;
        qreal spacing;
        qreal horizontalInset;
        qreal verticalInset;

        // Symbol 10 semibold, title 11 medium, 5 apart, inset 10 × 6.
        static Metrics small();
        // Symbol 11 semibold, title 11.5 semibold, 6 apart, inset 13 × 7.
        static Metrics regular();
    };

    struct Look {
        bool gradientFill;
        std::optional<PaletteRole> outline;
        // The symbol's and title's colour; none for white.
        std::optional<PaletteRole> content;

        bool operator==(const Look&) const = default;
    };

    static constexpr qreal kOutlineWidth = 1;
    static constexpr qreal kFocusMargin = 2;

    static Look look(bool isSelected);

    CapsuleChip(std::optional<QString> symbol, const QString& title, bool isSelected,
                const Metrics& metrics = Metrics::small(), QWidget* parent = nullptr);

    bool isSelected() const { return isChecked(); }
    void setSelected(bool selected);

    const std::optional<QString>& symbol() const { return symbol_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void nextCheckState() override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool hitButton(const QPoint& position) const override;

private:
    qreal symbolSide() const;

    std::optional<QString> symbol_;
    Metrics metrics_;
    QFont titleFont_;
    bool keyboardFocus_ = false;
};

} // namespace harborlite
