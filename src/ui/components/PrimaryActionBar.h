#pragma once

#include "paint/Palette.h"
#include "ui/theme/SoftShadow.h"

#include <QWidget>

#include <functional>

namespace harborlite {

class GlassCompatButton;
class RoleLabel;

// The floating bar at the foot of the cleaning and tool screens: a two-line
// summary on the left and the screen's main button on the right, which shows a
// spinner and refuses clicks while the work runs. Keeps room for its shadow
// (accent-deep at 0.1, radius 18, 7.2 down) around the glass surface, unless
// whoever places it draws the shadow outside it (a screen's frame does, so
// the surface lines up with the column and the content under the shadow
// stays clickable).
class PrimaryActionBar : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 20;
    static constexpr int kHorizontalPadding = 18;
    static constexpr int kVerticalPadding = 13;
    static constexpr int kSpacing = 16;
    static constexpr int kMinimumGap = 12;
    static constexpr qreal kMinimumLabelWidth = 110;
    // The canvas under the glass while the bar floats over content.
    static constexpr qreal kFloatingBackdropOpacity = 0.98;

    // How the button shows for the two flags.
    struct ButtonState {
        bool isClickable;
        bool showsSpinner;

        bool operator==(const ButtonState&) const = default;
    };
    static ButtonState buttonState(bool isEnabled, bool isBusy);

    PrimaryActionBar(const QString& title, const QString& detail, const QString& buttonTitle, bool isEnabled,
                     bool isBusy, const AdaptiveColor& tint, std::function<void()> action, QWidget* parent = nullptr);

    void setTitle(const QString& title);
    void setDetail(const QString& detail);
    void setButtonState(bool isEnabled, bool isBusy);

    RoleLabel* titleLabel() const { return title_; }
    RoleLabel* detailLabel() const { return detail_; }
    GlassCompatButton* button() const { return button_; }
    // The glass surface inside the shadow's margins.
    QRectF surfaceRect() const;

    // Whether the bar leaves its shadow to be drawn outside it: then it is
    // the surface alone, without margins.
    void setShadowDrawnOutside(bool outside);
    bool isShadowDrawnOutside() const { return shadowOutside_; }
    // Draws the bar's shadow under `surface` (in the painter's coordinates).
    void paintShadow(QPainter& painter, const QRectF& surface);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QMargins shadowRoom() const;

    RoleLabel* title_;
    RoleLabel* detail_;
    GlassCompatButton* button_;
    std::function<void()> action_;
    SoftShadow shadow_{18, 0.1};
    bool shadowOutside_ = false;
};

} // namespace harborlite
