#include "ui/components/CapsuleChip.h"

#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QFocusEvent>
#include <QPainter>

#include <cmath>

namespace harborlite {

CapsuleChip::Metrics CapsuleChip::Metrics::small()
{
    return {10, QFont::DemiBold, 11, QFont::Medium, 5, 10, 6};
}

CapsuleChip::Metrics CapsuleChip::Metrics::regular()
{
    return {11, QFont::DemiBold, 11.5, QFont::DemiBold, 6, 13, 7};
}

CapsuleChip::Look CapsuleChip::look(bool isSelected)
{
    if (isSelected) {
        return {true, std::nullopt, std::nullopt};
    }
    return {false, PaletteRole::hairline, PaletteRole::inkSecondary};
}

CapsuleChip::CapsuleChip(std::optional<QString> symbol, const QString& title, bool isSelected, const Metrics& metrics,
                         QWidget* parent)
    : QAbstractButton(parent)
    , symbol_(std::move(symbol))
    , metrics_(metrics)
    , titleFont_(TypeStyle::font(metrics.titleSize, metrics.titleWeight))
{
    setText(title);
    setCheckable(true);
    setChecked(isSelected);
    setFont(titleFont_);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CapsuleChip::nextCheckState()
{
    // The owner's model decides; a click alone changes nothing shown.
}

void CapsuleChip::setSelected(bool selected)
{
    setChecked(selected);
    update();
}

qreal CapsuleChip::symbolSide() const
{
    // Symbols take the square of their point size, as the status pill's do.
    return metrics_.symbolSize;
}

QSize CapsuleChip::sizeHint() const
{
    const QFontMetricsF title(titleFont_);
    const qreal symbol = symbol_ ? symbolSide() : 0;
    const qreal content = (symbol_ ? symbol + metrics_.spacing : 0) + title.horizontalAdvance(text());
    const qreal height = std::max(title.height(), symbol);
    return {static_cast<int>(std::ceil(content + 2 * metrics_.horizontalInset + 2 * kFocusMargin)),
            static_cast<int>(std::ceil(height + 2 * metrics_.verticalInset + 2 * kFocusMargin))};
}

QSize CapsuleChip::minimumSizeHint() const
{
    return sizeHint();
}

bool CapsuleChip::hitButton(const QPoint& position) const
{
    const QRectF capsule = QRectF(rect()).adjusted(kFocusMargin, kFocusMargin, -kFocusMargin, -kFocusMargin);
    return Shapes::capsule(capsule).contains(QPointF(position));
}

void CapsuleChip::focusInEvent(QFocusEvent* event)
{
    keyboardFocus_ = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void CapsuleChip::focusOutEvent(QFocusEvent* event)
{
    keyboardFocus_ = false;
    QAbstractButton::focusOutEvent(event);
}

void CapsuleChip::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    const Look chosen = look(isChecked());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isDown() ? 0.8 : 1.0);
    if (keyboardFocus_ && hasFocus()) {
        painter.setPen(QPen(Palette::accent().resolve(appearance), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(Shapes::capsule(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75)));
    }
    const QRectF capsule = QRectF(rect()).adjusted(kFocusMargin, kFocusMargin, -kFocusMargin, -kFocusMargin);
    const QPainterPath shape = Shapes::capsule(capsule);
    if (chosen.gradientFill) {
        painter.fillPath(shape, QBrush(Palette::accentGradient(capsule, appearance)));
    } else {
        painter.fillPath(shape, Palette::hoverFill().resolve(appearance));
    }
    if (chosen.outline) {
        Shapes::strokeInside(painter, capsule, capsule.height() / 2,
                             Palette::color(*chosen.outline).resolve(appearance), kOutlineWidth);
    }

    const QColor content = chosen.content ? Palette::color(*chosen.content).resolve(appearance) : QColor(Qt::white);
    qreal x = capsule.left() + metrics_.horizontalInset;
    if (symbol_) {
        const qreal side = symbolSide();
        Symbols::paint(painter, QRectF(x, capsule.center().y() - side / 2, side, side), *symbol_, content);
        x += side + metrics_.spacing;
    }
    painter.setFont(titleFont_);
    painter.setPen(content);
    painter.drawText(QRectF(x, capsule.top(), capsule.right() - x, capsule.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     text());
}

} // namespace harborlite
