#include "ui/diskmap/LegendRow.h"

#include "paint/Palette.h"
#include "shared/Formatting.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/TypeStyle.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace harborlite {

namespace P = RuvozEzazPresentation;

LegendRow::LegendRow(RuvozEzazPresentation::LegendEntry entry, bool isSelected, std::function<void()> action,
                     QWidget* parent)
    : QWidget(parent)
    , entry_(std::move(entry))
    , isSelected_(isSelected)
    , action_(std::move(action))
{
    setObjectName(QStringLiteral("legendRow"));
    setFixedHeight(kHeight + 2 * kPaddingY);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setToolTip(entry_.detail);
    setAccessibleName(entry_.label + QStringLiteral(", ") + Format::byteText(entry_.bytes));
    if (entry_.isBrowsable()) {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::TabFocus);
    }
}

void LegendRow::setSelected(bool selected)
{
    if (selected != isSelected_) {
        isSelected_ = selected;
        update();
    }
}

QFont LegendRow::labelFont() const
{
    return TypeStyle::font(11, QFont::Normal);
}

QFont LegendRow::bytesFont() const
{
    return TypeStyle::font(11, QFont::DemiBold);
}

QSize LegendRow::sizeHint() const
{
    const int label = QFontMetrics(labelFont()).horizontalAdvance(entry_.label);
    const int bytes = QFontMetrics(bytesFont()).horizontalAdvance(Format::byteText(entry_.bytes));
    return {2 * kPaddingX + int(kDotSide) + kSpacing + label + kSpacing + 2 + bytes, kHeight + 2 * kPaddingY};
}

QSize LegendRow::minimumSizeHint() const
{
    const int bytes = QFontMetrics(bytesFont()).horizontalAdvance(Format::byteText(entry_.bytes));
    return {2 * kPaddingX + int(kDotSide) + 2 * kSpacing + bytes, kHeight + 2 * kPaddingY};
}

void LegendRow::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(rect());
    if (const std::optional<double> opacity = P::rowBackgroundOpacity(entry_, isSelected_, isHovering_)) {
        painter.fillPath(Shapes::roundedRect(bounds, kCornerRadius),
                         Shapes::faded(Palette::mint().resolve(appearance), *opacity));
    }
    if (hasFocus()) {
        painter.setPen(QPen(Palette::accent().resolve(appearance), 1.2));
        painter.drawPath(Shapes::roundedRect(bounds.adjusted(0.6, 0.6, -0.6, -0.6), kCornerRadius));
    }
    const QRectF content = bounds.adjusted(kPaddingX, kPaddingY, -kPaddingX, -kPaddingY);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::color(entry_.tint).resolve(appearance));
    painter.drawEllipse(QRectF(content.left(), content.center().y() - kDotSide / 2, kDotSide, kDotSide));

    const QString bytes = Format::byteText(entry_.bytes);
    const QFontMetricsF bytesMetrics(bytesFont());
    const qreal bytesWidth = bytesMetrics.horizontalAdvance(bytes);
    painter.setFont(bytesFont());
    painter.setPen(Palette::ink().resolve(appearance));
    painter.drawText(QRectF(content.right() - bytesWidth, content.top(), bytesWidth, content.height()),
                     Qt::AlignRight | Qt::AlignVCenter, bytes);

    const qreal labelLeft = content.left() + kDotSide + kSpacing;
    const qreal labelWidth = std::max<qreal>(0, content.right() - bytesWidth - 2 - kSpacing - labelLeft);
    painter.setFont(labelFont());
    painter.setPen(Palette::color(P::rowLabelRole(entry_)).resolve(appearance));
    painter.drawText(QRectF(labelLeft, content.top(), labelWidth, content.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(labelFont()).elidedText(entry_.label, Qt::ElideRight, labelWidth));
}

void LegendRow::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (entry_.isBrowsable()) {
        isHovering_ = true;
        update();
    }
}

void LegendRow::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (isHovering_) {
        isHovering_ = false;
        update();
    }
}

void LegendRow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && entry_.isBrowsable()
        && action_) {
        action_();
    }
}

void LegendRow::keyPressEvent(QKeyEvent* event)
{
    if (entry_.isBrowsable() && action_ && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return)) {
        action_();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace harborlite
