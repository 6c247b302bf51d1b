#include "ui/components/GlassCompatButton.h"

#include "ui/components/DisabledLayer.h"
#include "ui/paintcache/SurfaceCache.h"
#include "ui/theme/Contrast.h"
#include "ui/theme/GlassSurface.h"
#include "ui/theme/Motion.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace GlassCompatButtonStyle {

Fill fill(bool isProminent, bool pressed, bool hovered)
{
    if (isProminent) {
        return {true, pressed ? 0.95 : hovered ? 0.90 : 0.82};
    }
    return {false, pressed ? 0.85 : hovered ? 0.70 : 0.50};
}

QColor labelColor(bool isProminent, Appearance appearance)
{
    return isProminent ? QColor(Qt::white) : Palette::ink().resolve(appearance);
}

QColor labelColor(bool isProminent, const QColor& tint, Appearance appearance)
{
    if (isProminent && Contrast::luminance(tint) >= kLightTintLuminance) {
        return Palette::ink().light;
    }
    return labelColor(isProminent, appearance);
}

QColor edgeColor(bool isProminent, Appearance appearance)
{
    return isProminent ? Shapes::faded(Qt::black, 0.12) : Palette::surfaceStroke().resolve(appearance);
}

void paintSpinner(QPainter& painter, const QRectF& square, const QColor& color, qreal phase)
{
    const qreal width = square.width() * 0.14;
    const QRectF circle = square.adjusted(width / 2, width / 2, -width / 2, -width / 2);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Shapes::faded(color, 0.3), width));
    painter.drawEllipse(circle);
    painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(circle, static_cast<int>(-phase * 360 * 16), 100 * 16);
    painter.restore();
}

void paintCapsule(QPainter& painter, const QRectF& capsule, const QColor& body, const QColor& edge,
                  Appearance appearance)
{
    const QColor material = GlassSurface::material(appearance);
    SurfaceCache::draw(painter, capsule, capsule.height() / 2,
                       QStringLiteral("button-%1-%2-%3").arg(material.rgba()).arg(body.rgba()).arg(edge.rgba()),
                       [&](QPainter& onto, const QRectF& surface, qreal radius) {
                           const QPainterPath shape = Shapes::roundedRect(surface, radius);
                           onto.save();
                           onto.setRenderHint(QPainter::Antialiasing);
                           onto.fillPath(shape, material);
                           onto.fillPath(shape, body);
                           Shapes::strokeInside(onto, surface, radius, edge, kEdgeWidth);
                           onto.restore();
                       });
}

} // namespace GlassCompatButtonStyle

using namespace GlassCompatButtonStyle;

GlassCompatButton::GlassCompatButton(const QString& title, bool isProminent, const AdaptiveColor& tint, QWidget* parent)
    : QAbstractButton(parent)
    , isProminent_(isProminent)
    , tint_(tint)
{
    setText(title);
    setFont(TypeStyle::font(13, QFont::DemiBold));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    for (QVariantAnimation* animation : {&hoverAnimation_, &pressAnimation_}) {
        animation->setDuration(kAnimationMilliseconds);
        QEasingCurve curve(QEasingCurve::BezierSpline);
        curve.addCubicBezierSegment(QPointF(0, 0), QPointF(0.58, 1), QPointF(1, 1));
        animation->setEasingCurve(curve);
    }
    connect(&hoverAnimation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        hoverAmount_ = value.toReal();
        update();
    });
    connect(&pressAnimation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        pressAmount_ = value.toReal();
        update();
    });
    connect(this, &QAbstractButton::pressed, this, [this] { animateTo(pressAnimation_, pressAmount_, 1); });
    connect(this, &QAbstractButton::released, this, [this] { animateTo(pressAnimation_, pressAmount_, 0); });
    spinnerTimer_.setInterval(33);
    connect(&spinnerTimer_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void GlassCompatButton::setTint(const AdaptiveColor& tint)
{
    if (tint == tint_) {
        return;
    }
    tint_ = tint;
    update();
}

void GlassCompatButton::setShowsSpinner(bool shows)
{
    if (shows == showsSpinner_) {
        return;
    }
    showsSpinner_ = shows;
    if (shows) {
        spinnerClock_.start();
        spinnerTimer_.start();
    } else {
        spinnerTimer_.stop();
    }
    updateGeometry();
    update();
}

void GlassCompatButton::setSymbol(std::optional<QString> symbol)
{
    symbol_ = std::move(symbol);
    updateGeometry();
    update();
}

void GlassCompatButton::setSymbolSide(qreal side)
{
    symbolSide_ = side;
    updateGeometry();
    update();
}

void GlassCompatButton::setMinimumLabelWidth(qreal width)
{
    minimumLabelWidth_ = width;
    updateGeometry();
}

Fill GlassCompatButton::currentFill() const
{
    return fill(isProminent_, isDown(), isHovering_);
}

qreal GlassCompatButton::contentWidth() const
{
    const qreal title = QFontMetricsF(font()).horizontalAdvance(text());
    qreal width = title;
    if (symbol_) {
        width += symbolSide_ + (text().isEmpty() ? 0 : kSymbolGap);
    }
    return showsSpinner_ ? kSpinnerSide + kSpinnerGap + width : width;
}

qreal GlassCompatButton::labelWidth() const
{
    return std::max(contentWidth(), minimumLabelWidth_);
}

QSize GlassCompatButton::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const qreal height = std::max({metrics.height(), showsSpinner_ ? kSpinnerSide : 0.0, symbol_ ? symbolSide_ : 0.0});
    const bool symbolOnly = symbol_ && text().isEmpty() && !showsSpinner_;
    const qreal padding = symbolOnly ? kSymbolOnlyPadding : kHorizontalPadding;
    return {static_cast<int>(std::ceil(labelWidth() + 2 * padding + 2 * kFocusMargin)),
            static_cast<int>(std::ceil(height + 2 * kVerticalPadding + 2 * kFocusMargin))};
}

QSize GlassCompatButton::minimumSizeHint() const
{
    return sizeHint();
}

void GlassCompatButton::animateTo(QVariantAnimation& animation, qreal& value, qreal target)
{
    animation.stop();
    if (Motion::reduceMotion()) {
        value = target;
        update();
        return;
    }
    animation.setStartValue(value);
    animation.setEndValue(target);
    animation.start();
}

void GlassCompatButton::enterEvent(QEnterEvent* event)
{
    isHovering_ = true;
    animateTo(hoverAnimation_, hoverAmount_, 1);
    QAbstractButton::enterEvent(event);
}

void GlassCompatButton::leaveEvent(QEvent* event)
{
    isHovering_ = false;
    animateTo(hoverAnimation_, hoverAmount_, 0);
    QAbstractButton::leaveEvent(event);
}

void GlassCompatButton::focusInEvent(QFocusEvent* event)
{
    keyboardFocus_ = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void GlassCompatButton::focusOutEvent(QFocusEvent* event)
{
    keyboardFocus_ = false;
    QAbstractButton::focusOutEvent(event);
}

void GlassCompatButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        isHovering_ = false;
        hoverAmount_ = 0;
        pressAmount_ = 0;
    }
    QAbstractButton::changeEvent(event);
}

void GlassCompatButton::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter target(this);
    if (keyboardFocus_ && hasFocus()) {
        target.setRenderHint(QPainter::Antialiasing);
        target.setPen(QPen(Palette::accent().resolve(appearance), 1.5));
        target.setBrush(Qt::NoBrush);
        target.drawPath(Shapes::capsule(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75)));
    }
    if (isEnabled()) {
        paintButton(target, appearance);
        return;
    }
    DisabledLayer::paint(target, size(), devicePixelRatioF(),
                         [&](QPainter& painter) { paintButton(painter, appearance); });
}

void GlassCompatButton::paintButton(QPainter& painter, Appearance appearance) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(rect()).adjusted(kFocusMargin, kFocusMargin, -kFocusMargin, -kFocusMargin);
    // Between animations the amounts are the states themselves, so a press or
    // hover set without an event shows at once.
    const qreal press = pressAnimation_.state() == QAbstractAnimation::Running ? pressAmount_ : (isDown() ? 1 : 0);
    const qreal hover = hoverAnimation_.state() == QAbstractAnimation::Running ? hoverAmount_ : (isHovering_ ? 1 : 0);
    const qreal scale = 1 - (1 - kPressedScale) * press;
    painter.translate(outer.center());
    painter.scale(scale, scale);
    painter.translate(-outer.center());

    const Fill rest = fill(isProminent_, false, false);
    const Fill hovered = fill(isProminent_, false, true);
    const Fill pressed = fill(isProminent_, true, false);
    const qreal unpressed = rest.opacity + (hovered.opacity - rest.opacity) * hover;
    const qreal opacity = unpressed + (pressed.opacity - unpressed) * press;
    const QColor base = rest.usesTint ? tint_.resolve(appearance) : Palette::card().resolve(appearance);
    paintCapsule(painter, outer, Shapes::faded(base, opacity), edgeColor(isProminent_, appearance), appearance);

    const QColor label = labelColor(isProminent_, tint_.resolve(appearance), appearance);
    const qreal width = labelWidth();
    qreal x = outer.center().x() - width / 2 + (width - contentWidth()) / 2;
    if (showsSpinner_) {
        const qreal phase = std::fmod(spinnerClock_.isValid() ? spinnerClock_.elapsed() / 1000.0 : 0.0, 1.0);
        paintSpinner(painter, QRectF(x, outer.center().y() - kSpinnerSide / 2, kSpinnerSide, kSpinnerSide), label,
                     phase);
        x += kSpinnerSide + kSpinnerGap;
    }
    if (symbol_) {
        Symbols::paint(painter, QRectF(x, outer.center().y() - symbolSide_ / 2, symbolSide_, symbolSide_), *symbol_,
                       label);
        x += symbolSide_ + kSymbolGap;
    }
    painter.setPen(label);
    painter.setFont(font());
    painter.drawText(QRectF(x, outer.top(), outer.right() - x, outer.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     text());
}

} // namespace harborlite
