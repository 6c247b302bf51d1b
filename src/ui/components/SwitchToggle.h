#pragma once

#include "paint/Palette.h"

#include <QAbstractButton>
#include <QFont>
#include <QVariantAnimation>

#include <optional>

namespace harborlite {

// An on/off switch: a capsule track, filled with the tint while on, and a white
// knob that slides to the trailing end. An optional label (a title, and a
// caption under it) sits before the switch; clicking either flips it.
//
// The switch holds no state of its own: a flip (click, Space) emits
// `flipped` with the position asked for and leaves the shown position
// alone; the owner shows the outcome with setOn. A flip the owner does not
// carry out therefore springs back by itself.
class SwitchToggle : public QAbstractButton {
    Q_OBJECT

public:
    enum class ControlSize { mini, small, regular };

    struct Label {
        QString title;
        QFont titleFont;
        std::optional<QString> caption;
        QFont captionFont;
        // Gap between the title and the caption.
        qreal spacing = 1;
    };

    static constexpr qreal kLabelGap = 8;
    static constexpr qreal kKnobInset = 1.5;
    static constexpr qreal kFocusMargin = 2;
    static constexpr int kSlideMilliseconds = 150;

    // The track's size for a control size: 26 × 15, 32 × 18 or 38 × 22.
    static QSizeF trackSize(ControlSize size);
    // Where the knob's centre lies along the track at `position` (0 off, 1 on).
    static qreal knobCenterX(const QRectF& track, qreal position);

    SwitchToggle(bool isOn, ControlSize size = ControlSize::mini, const AdaptiveColor& tint = Palette::accent(),
                 QWidget* parent = nullptr);

    bool isOn() const { return isChecked(); }
    // Shows the position; slides there unless motion is reduced or the
    // switch is not on screen.
    void setOn(bool on);

    // The label before the switch; its title is also the accessible name.
    void setLabel(std::optional<Label> label);
    const std::optional<Label>& label() const { return label_; }

    const AdaptiveColor& tint() const { return tint_; }
    // The knob's place now, 0 (off) to 1 (on), animations included.
    qreal knobPosition() const { return knobPosition_; }
    // The track's rectangle inside the widget.
    QRectF trackRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user asked for this position.
    void flipped(bool on);

protected:
    void nextCheckState() override;
    void checkStateSet() override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool hitButton(const QPoint& position) const override;

private:
    QSizeF labelSize() const;
    void paintSwitch(QPainter& painter, Appearance appearance) const;

    ControlSize size_;
    AdaptiveColor tint_;
    std::optional<Label> label_;
    qreal knobPosition_;
    bool keyboardFocus_ = false;
    QVariantAnimation slide_;
};

} // namespace harborlite
