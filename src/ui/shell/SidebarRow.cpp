#include "ui/shell/SidebarRow.h"

#include "paint/Palette.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

constexpr int kPaddingX = 11;
constexpr int kPaddingY = 8;
constexpr int kSpacing = 10;
constexpr qreal kSymbolFrame = 20;
constexpr qreal kSymbolSize = 13;
constexpr int kBadgePaddingX = 6;
constexpr int kBadgePaddingY = 2;
constexpr int kShortestGap = 4;

constexpr qreal kTitlePixels = 12.5;

QFont badgeFont()
{
    return TypeStyle::font(9.5, QFont::Bold);
}

qreal badgeWidth(const QString& badge)
{
    return QFontMetricsF(badgeFont()).horizontalAdvance(badge) + 2 * kBadgePaddingX;
}

} // namespace

int SidebarRow::neededWidth(const QString& title, const std::optional<QString>& badge)
{
    qreal width = 2 * kPaddingX + kSymbolFrame + kSpacing + QFontMetricsF(titleFont(true)).horizontalAdvance(title);
    if (badge) {
        width += kShortestGap + badgeWidth(*badge);
    }
    return static_cast<int>(std::ceil(width));
}

QFont SidebarRow::titleFont(bool selected)
{
    return TypeStyle::font(kTitlePixels, selected ? QFont::DemiBold : QFont::Medium);
}

QString SidebarRow::shownTitle(const QString& title, qreal width, bool selected)
{
    return QFontMetricsF(titleFont(selected)).elidedText(title, Qt::ElideRight, width);
}

SidebarRow::SidebarRow(Route route, QWidget* parent)
    : QAbstractButton(parent)
    , route_(route)
{
    setObjectName(QStringLiteral("sidebarRow_") + rawValue(route));
    setText(title(route));
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_Hover);
}

void SidebarRow::setSelected(bool selected)
{
    if (selected == isChecked()) {
        return;
    }
    setChecked(selected);
}

void SidebarRow::setBadge(std::optional<QString> badge)
{
    if (badge == badge_) {
        return;
    }
    badge_ = std::move(badge);
    setAccessibleDescription(badge_.value_or(QString()));
    update();
}

QSize SidebarRow::sizeHint() const
{
    const int line = std::max<int>(QFontMetrics(titleFont(true)).height(), static_cast<int>(kSymbolSize) + 3);
    return {200, line + 2 * kPaddingY};
}

QSize SidebarRow::minimumSizeHint() const
{
    return {80, sizeHint().height()};
}

void SidebarRow::enterEvent(QEnterEvent* event)
{
    isHovering_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void SidebarRow::leaveEvent(QEvent* event)
{
    isHovering_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void SidebarRow::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF whole = rect();
    if (!isSelected() && isHovering_) {
        painter.fillPath(Shapes::roundedRect(whole, kCornerRadius), Palette::hoverFill().resolve(appearance));
    }

    const QColor white(Qt::white);
    const QRectF content = whole.adjusted(kPaddingX, kPaddingY, -kPaddingX, -kPaddingY);
    const QRectF symbolRect(content.left() + (kSymbolFrame - kSymbolSize) / 2, content.center().y() - kSymbolSize / 2,
                            kSymbolSize, kSymbolSize);
    Symbols::paint(painter, symbolRect, symbol(route_),
                   isSelected() ? white : Palette::accentDeep().resolve(appearance));

    qreal right = content.right();
    if (badge_) {
        const QFontMetrics metrics(badgeFont());
        const qreal width = badgeWidth(*badge_);
        const qreal height = metrics.height() + 2 * kBadgePaddingY;
        const QRectF capsule(content.right() - width, content.center().y() - height / 2, width, height);
        const QColor fill = isSelected() ? Shapes::faded(white, 0.25) : Palette::mint().resolve(appearance);
        painter.fillPath(Shapes::capsule(capsule), Shapes::faded(fill, 0.9));
        painter.setFont(badgeFont());
        painter.setPen(isSelected() ? white : Palette::accentDeep().resolve(appearance));
        painter.drawText(capsule, Qt::AlignCenter, *badge_);
        right = capsule.left() - kShortestGap;
    }

    const QRectF titleRect(content.left() + kSymbolFrame + kSpacing, content.top(),
                           std::max<qreal>(0, right - (content.left() + kSymbolFrame + kSpacing)), content.height());
    // Every title keeps the list's one type size; one too long for a narrow
    // column is cut at its end.
    painter.setFont(titleFont(isSelected()));
    painter.setPen(isSelected() ? white : Palette::ink().resolve(appearance));
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, shownTitle(text(), titleRect.width(), isSelected()));
}

} // namespace harborlite
