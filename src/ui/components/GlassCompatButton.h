#pragma once

#include "paint/Palette.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QTimer>
#include <QVariantAnimation>

#include <optional>

namespace harborlite {

namespace GlassCompatButtonStyle {

// What fills the capsule: the tint (prominent kind) or the card colour (plain
// kind), at an opacity that depends on press and hover; pressed wins.
struct Fill {
    bool usesTint = false;
    qreal opacity = 0;

    bool operator==(const Fill&) const = default;
};

Fill fill(bool isProminent, bool pressed, bool hovered);

inline constexpr qreal kDisabledOpacity = 0.45;
inline constexpr qreal kPressedScale = 0.97;
inline constexpr int kAnimationMilliseconds = 120;
inline constexpr qreal kHorizontalPadding = 16;
inline constexpr qreal kVerticalPadding = 7;
inline constexpr qreal kEdgeWidth = 0.8;

// White on the prominent kind whatever the tint; ink on the plain kind.
QColor labelColor(bool isProminent, Appearance appearance);
// A tint at least this bright (relative luminance) reads white at about 2:1
// only: the warning amber in both appearances; the accent and danger tints
// stay below it.
inline constexpr qreal kLightTintLuminance = 0.48;
// The label as drawn over `tint`: white on the prominent kind, except on a
// light tint, where the dark ink of the light appearance keeps it legible
// (about 9:1 on the amber, against 2:1 for white); ink on the plain kind.
QColor labelColor(bool isProminent, const QColor& tint, Appearance appearance);
// Black at 0.12 around the prominent kind in both appearances; the surface
// stroke around the plain kind.
QColor edgeColor(bool isProminent, Appearance appearance);

// A glass capsule in `capsule`: the material, `body` over it and a
// kEdgeWidth `edge` inside the outline, from cached pixels. The button and
// the pop-up picker share it.
void paintCapsule(QPainter& painter, const QRectF& capsule, const QColor& body, const QColor& edge,
                  Appearance appearance);

// The small white activity indicator drawn before a busy button's label: an
// arc turning once a second at `phase` (0…1).
void paintSpinner(QPainter& painter, const QRectF& square, const QColor& color, qreal phase);

} // namespace GlassCompatButtonStyle

// The system's one button look: a capsule of glass with a tinted (prominent)
// or card-coloured (plain) fill, a thin edge, hover and press feedback that
// ease out over 0.12 s, a 0.97 press scale and a 0.45 dimming when disabled.
// Tab focus draws an accent ring in the two-pixel margin around the capsule.
class GlassCompatButton : public QAbstractButton {
    Q_OBJECT

public:
    GlassCompatButton(const QString& title, bool isProminent, const AdaptiveColor& tint = Palette::accent(),
                      QWidget* parent = nullptr);

    bool isProminent() const { return isProminent_; }
    const AdaptiveColor& tint() const { return tint_; }
    void setTint(const AdaptiveColor& tint);

    // Shows the activity indicator before the label.
    void setShowsSpinner(bool shows);
    bool showsSpinner() const { return showsSpinner_; }

    // A system symbol drawn in the label's colour before the title; with an
    // empty title the button shows the symbol alone (give it an accessible
    // name then).
    void setSymbol(std::optional<QString> symbol);
    const std::optional<QString>& symbol() const { return symbol_; }
    // The symbol's square, kSymbolSide unless set (a small chevron, say).
    void setSymbolSide(qreal side);
    qreal symbolSide() const { return symbolSide_; }

    // The label (spinner, symbol, gaps and title) is never narrower than this.
    void setMinimumLabelWidth(qreal width);

    bool isHovering() const { return isHovering_; }
    // The fill in effect now, animations settled.
    GlassCompatButtonStyle::Fill currentFill() const;
    // The label's width as laid out.
    qreal labelWidth() const;

    static constexpr qreal kFocusMargin = 2;
    static constexpr qreal kSpinnerSide = 14;
    static constexpr qreal kSpinnerGap = 7;
    static constexpr qreal kSymbolSide = 13;
    static constexpr qreal kSymbolGap = 6;
    // A symbol without a title sits in a capsule only a little wider than tall.
    static constexpr qreal kSymbolOnlyPadding = 10;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void paintButton(QPainter& painter, Appearance appearance) const;
    void animateTo(QVariantAnimation& animation, qreal& value, qreal target);
    qreal contentWidth() const;

    bool isProminent_;
    AdaptiveColor tint_;
    bool showsSpinner_ = false;
    std::optional<QString> symbol_;
    qreal symbolSide_ = kSymbolSide;
    qreal minimumLabelWidth_ = 0;
    bool isHovering_ = false;
    bool keyboardFocus_ = false;
    qreal hoverAmount_ = 0;
    qreal pressAmount_ = 0;
    QVariantAnimation hoverAnimation_;
    QVariantAnimation pressAnimation_;
    QTimer spinnerTimer_;
    QElapsedTimer spinnerClock_;
};

} // namespace harborlite
