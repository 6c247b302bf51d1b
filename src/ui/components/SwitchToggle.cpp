#include "ui/components/SwitchToggle.h"

#include "ui/components/DisabledLayer.h"
#include "ui/components/GlassCompatButton.h"
#include "ui/theme/Motion.h"
#include "ui/theme/Shapes.h"

#include <QFocusEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

// The off track: the tertiary ink, faint, so the knob stands out in both appearances.
constexpr qreal kOffTrackOpacity = 0.32;
constexpr qreal kKnobShadowOpacity = 0.22;

} // namespace

QSizeF SwitchToggle::trackSize(ControlSize size)
{
    switch (size) {
    case ControlSize::mini:
        return {26, 15};
    case ControlSize::small:
        return {32, 18};
    case ControlSize::regular:
        break;
    }
    return {38, 22};
}

qreal SwitchToggle::knobCenterX(const QRectF& track, qreal position)
{
    const qreal radius = track.height() / 2 - kKnobInset;
    const qreal start = track.left() + kKnobInset + radius;
    const qreal end = track.right() - kKnobInset - radius;
    return start + (end - start) * std::clamp(position, 0.0, 1.0);
}

SwitchToggle::SwitchToggle(bool isOn, ControlSize size, const AdaptiveColor& tint, QWidget* parent)
    : QAbstractButton(parent)
    , size_(size)
    , tint_(tint)
    , knobPosition_(isOn ? 1 : 0)
{
    setCheckable(true);
    setChecked(isOn);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    slide_.setDuration(kSlideMilliseconds);
    slide_.setEasingCurve(QEasingCurve::InOutCubic);
    connect(&slide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        knobPosition_ = value.toReal();
        update();
    });
}

void SwitchToggle::nextCheckState()
{
    emit flipped(!isChecked());
}

void SwitchToggle::setOn(bool on)
{
    setChecked(on);
}

void SwitchToggle::checkStateSet()
{
    const qreal target = isChecked() ? 1 : 0;
    slide_.stop();
    if (Motion::reduceMotion() || !isVisible()) {
        knobPosition_ = target;
        update();
        return;
    }
    slide_.setStartValue(knobPosition_);
    slide_.setEndValue(target);
    slide_.start();
}

void SwitchToggle::setLabel(std::optional<Label> label)
{
    label_ = std::move(label);
    setAccessibleName(label_ ? label_->title : QString());
    updateGeometry();
    update();
}

QSizeF SwitchToggle::labelSize() const
{
    if (!label_) {
        return {0, 0};
    }
    const QFontMetricsF title(label_->titleFont);
    qreal width = title.horizontalAdvance(label_->title);
    qreal height = title.height();
    if (label_->caption) {
        const QFontMetricsF caption(label_->captionFont);
        width = std::max(width, caption.horizontalAdvance(*label_->caption));
        height += label_->spacing + caption.height();
    }
    return {width, height};
}

QSize SwitchToggle::sizeHint() const
{
    const QSizeF track = trackSize(size_);
    const QSizeF text = labelSize();
    const qreal width = track.width() + (label_ ? text.width() + kLabelGap : 0);
    const qreal height = std::max(track.height(), text.height());
    return {static_cast<int>(std::ceil(width + 2 * kFocusMargin)),
            static_cast<int>(std::ceil(height + 2 * kFocusMargin))};
}

QSize SwitchToggle::minimumSizeHint() const
{
    return sizeHint();
}

QRectF SwitchToggle::trackRect() const
{
    const QSizeF track = trackSize(size_);
    return {width() - kFocusMargin - track.width(), (height() - track.height()) / 2, track.width(), track.height()};
}

bool SwitchToggle::hitButton(const QPoint& position) const
{
    return rect().contains(position);
}

void SwitchToggle::focusInEvent(QFocusEvent* event)
{
    keyboardFocus_ = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void SwitchToggle::focusOutEvent(QFocusEvent* event)
{
    keyboardFocus_ = false;
    QAbstractButton::focusOutEvent(event);
}

void SwitchToggle::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter target(this);
    if (isEnabled()) {
        paintSwitch(target, appearance);
        return;
    }
    DisabledLayer::paint(target, size(), devicePixelRatioF(),
                         [&](QPainter& painter) { paintSwitch(painter, appearance); });
}

void SwitchToggle::paintSwitch(QPainter& painter, Appearance appearance) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    if (label_) {
        const QSizeF text = labelSize();
        qreal y = (height() - text.height()) / 2;
        const qreal right = trackRect().left() - kLabelGap;
        const QFontMetricsF titleMetrics(label_->titleFont);
        painter.setFont(label_->titleFont);
        painter.setPen(Palette::ink().resolve(appearance));
        painter.drawText(QRectF(kFocusMargin, y, right - kFocusMargin, titleMetrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         titleMetrics.elidedText(label_->title, Qt::ElideRight, right - kFocusMargin));
        if (label_->caption) {
            y += titleMetrics.height() + label_->spacing;
            const QFontMetricsF captionMetrics(label_->captionFont);
            painter.setFont(label_->captionFont);
            painter.setPen(Palette::inkSecondary().resolve(appearance));
            painter.drawText(QRectF(kFocusMargin, y, right - kFocusMargin, captionMetrics.height()),
                             Qt::AlignLeft | Qt::AlignVCenter,
                             captionMetrics.elidedText(*label_->caption, Qt::ElideRight, right - kFocusMargin));
        }
    }

    const QRectF track = trackRect();
    const QColor on = tint_.resolve(appearance);
    const QColor off = Shapes::faded(Palette::inkTertiary().resolve(appearance), kOffTrackOpacity);
    const qreal position = knobPosition_;
    const QPainterPath capsule = Shapes::capsule(track);
    painter.fillPath(capsule, off);
    painter.fillPath(capsule, Shapes::faded(on, position));
    if (keyboardFocus_ && hasFocus()) {
        painter.setPen(QPen(Palette::accent().resolve(appearance), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(Shapes::capsule(track.adjusted(-1.5, -1.5, 1.5, 1.5)));
    }

    const qreal radius = track.height() / 2 - kKnobInset;
    const QPointF center(knobCenterX(track, position), track.center().y());
    painter.setPen(Qt::NoPen);
    painter.setBrush(Shapes::faded(Qt::black, kKnobShadowOpacity));
    painter.drawEllipse(center + QPointF(0, 0.5), radius + 0.3, radius + 0.3);
    painter.setBrush(Qt::white);
    painter.drawEllipse(center, radius, radius);
}

} // namespace harborlite
