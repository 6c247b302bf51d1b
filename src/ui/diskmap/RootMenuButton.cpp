#include "ui/diskmap/RootMenuButton.h"

#include "paint/Palette.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QMenu>
#include <QPainter>

#include <algorithm>

namespace harborlite {

RootMenuButton::RootMenuButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setObjectName(QStringLiteral("rootMenu"));
    setFixedWidth(kWidth);
    setFont(TypeStyle::font(13, QFont::Medium));
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QAbstractButton::clicked, this, &RootMenuButton::showMenu);
}

void RootMenuButton::setMenu(QMenu* menu)
{
    menu_ = menu;
    if (menu_) {
        connect(menu_, &QMenu::aboutToHide, this, qOverload<>(&QWidget::update));
    }
}

void RootMenuButton::showMenu()
{
    if (!menu_) {
        return;
    }
    menu_->popup(mapToGlobal(QPoint(0, height() + 2)));
    update();
}

QSize RootMenuButton::sizeHint() const
{
    return {kWidth, std::max(26, QFontMetrics(font()).height() + 10)};
}

void RootMenuButton::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool open = menu_ && menu_->isVisible();
    if (isHovering_ || open || isDown()) {
        painter.fillPath(Shapes::capsule(bounds), Shapes::faded(Palette::hoverFill().resolve(appearance), 1));
    }
    if (hasFocus()) {
        painter.setPen(QPen(Palette::accent().resolve(appearance), 1.5));
        painter.drawPath(Shapes::capsule(bounds.adjusted(0.5, 0.5, -0.5, -0.5)));
    }
    const QColor ink = Palette::ink().resolve(appearance);
    const qreal middle = bounds.center().y();
    Symbols::paint(painter, QRectF(bounds.left() + kPadding, middle - kSymbolSide / 2, kSymbolSide, kSymbolSide),
                   QStringLiteral("folder"), Palette::accent().resolve(appearance));
    const qreal chevronLeft = bounds.right() - kPadding - kChevronSide;
    Symbols::paint(painter, QRectF(chevronLeft, middle - kChevronSide / 2, kChevronSide, kChevronSide),
                   QStringLiteral("chevron.down"), Palette::inkSecondary().resolve(appearance));
    const qreal textLeft = bounds.left() + kPadding + kSymbolSide + kGap;
    const QRectF textRect(textLeft, bounds.top(), std::max<qreal>(0, chevronLeft - kGap - textLeft), bounds.height());
    painter.setFont(font());
    painter.setPen(ink);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(font()).elidedText(text(), Qt::ElideRight, textRect.width()));
}

void RootMenuButton::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    isHovering_ = true;
    update();
}

void RootMenuButton::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    isHovering_ = false;
    update();
}

} // namespace harborlite
