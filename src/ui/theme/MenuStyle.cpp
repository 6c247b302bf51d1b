#include "ui/theme/MenuStyle.h"

#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"
#include "ui/theme/TypeStyle.h"

#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>

namespace harborlite {

namespace {

constexpr qreal kCheckSide = 11;

// The label and the shortcut of a menu row, which Qt keeps in one text
// separated by a tab.
std::pair<QString, QString> splitRowText(const QString& text)
{
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab < 0) {
        return {text, QString()};
    }
    return {text.left(tab), text.mid(tab + 1)};
}

QPainterPath panelShape(const QRect& rect)
{
    return Shapes::roundedRect(QRectF(rect), MenuStyle::kCornerRadius);
}

} // namespace

MenuStyle::RowLook MenuStyle::rowLook(bool selected, bool enabled, Appearance appearance)
{
    if (selected && enabled) {
        return {true, Palette::ink().resolve(appearance), Palette::inkSecondary().resolve(appearance),
                Palette::mint().resolve(appearance)};
    }
    const QColor text = enabled ? Palette::ink().resolve(appearance) : Palette::inkTertiary().resolve(appearance);
    return {false, text, Palette::inkTertiary().resolve(appearance), std::nullopt};
}

MenuStyle::MenuStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
}

void MenuStyle::apply(QMenu* menu)
{
    auto* style = new MenuStyle;
    style->setParent(menu);
    menu->setStyle(style);
    for (QAction* action : menu->actions()) {
        if (action->menu() != nullptr) {
            apply(action->menu());
        }
    }
}

void MenuStyle::apply(QMenuBar* strip)
{
    auto* style = new MenuStyle;
    style->setParent(strip);
    strip->setStyle(style);
    for (QAction* action : strip->actions()) {
        if (action->menu() != nullptr) {
            apply(action->menu());
        }
    }
}

void MenuStyle::polish(QWidget* widget)
{
    QProxyStyle::polish(widget);
    if (qobject_cast<QMenu*>(widget) != nullptr) {
        widget->setFont(TypeStyle::font(13, QFont::Medium));
    } else if (qobject_cast<QMenuBar*>(widget) != nullptr) {
        widget->setFont(TypeStyle::font(12.5, QFont::Medium));
        widget->setAttribute(Qt::WA_Hover);
    }
}

int MenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    switch (metric) {
    case PM_MenuPanelWidth:
    case PM_MenuBarPanelWidth:
    case PM_MenuDesktopFrameWidth:
        return 0;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return kPanelMargin;
    case PM_MenuBarItemSpacing:
        return 2;
    case PM_MenuBarHMargin:
        return 8;
    case PM_MenuBarVMargin:
        return 3;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int MenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                         QStyleHintReturn* returnData) const
{
    switch (hint) {
    case SH_Menu_Mask:
        if (auto* mask = qstyleoption_cast<QStyleHintReturnMask*>(returnData); mask != nullptr && option) {
            mask->region = QRegion(panelShape(option->rect).toFillPolygon().toPolygon());
            return 1;
        }
        return 0;
    case SH_Menu_FlashTriggeredItem:
    case SH_Menu_FadeOutOnHide:
    case SH_Menu_SupportsSections:
        return 0;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

QSize MenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                  const QWidget* widget) const
{
    if (type == CT_MenuItem) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            if (item->menuItemType == QStyleOptionMenuItem::Separator) {
                return {size.width(), kSeparatorHeight};
            }
            const auto [label, shortcut] = splitRowText(item->text);
            const QFontMetrics metrics(item->font);
            int width = kCheckColumn + metrics.horizontalAdvance(label) + 2 * kRowPadding;
            if (!shortcut.isEmpty() || item->reservedShortcutWidth > 0) {
                width += kShortcutGap + std::max(metrics.horizontalAdvance(shortcut), item->reservedShortcutWidth);
            }
            if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
                width += kCheckColumn;
            }
            return {std::max(width, size.width()), std::max(kRowHeight, metrics.height() + 8)};
        }
    }
    if (type == CT_MenuBarItem) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            const QFontMetrics metrics(item->font);
            return {metrics.horizontalAdvance(item->text) + 2 * kStripItemPadding,
                    std::max(kStripItemHeight, metrics.height() + 6)};
        }
    }
    if (type == CT_MenuBar) {
        return size;
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void MenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const
{
    const Appearance appearance = Palette::appearance(widget);
    switch (element) {
    case PE_PanelMenu: {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillRect(option->rect, Palette::card().resolve(appearance));
        Shapes::strokeInside(*painter, QRectF(option->rect), kCornerRadius, Palette::hairline().resolve(appearance), 1);
        painter->restore();
        return;
    }
    case PE_FrameMenu:
    case PE_PanelMenuBar:
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void MenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const
{
    const Appearance appearance = Palette::appearance(widget);
    switch (element) {
    case CE_MenuEmptyArea:
    case CE_MenuHMargin:
    case CE_MenuVMargin:
        return;
    case CE_MenuBarEmptyArea:
        painter->fillRect(option->rect, Palette::canvas().resolve(appearance));
        return;
    case CE_MenuBarItem: {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (item == nullptr) {
            break;
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillRect(option->rect, Palette::canvas().resolve(appearance));
        const bool open = (option->state & State_Sunken) != 0;
        const bool hovered = (option->state & State_Selected) != 0;
        if (open || hovered) {
            const QRectF capsule = QRectF(option->rect).adjusted(0, 2, 0, -2);
            painter->fillPath(Shapes::capsule(capsule),
                              Shapes::faded(Palette::mint().resolve(appearance), open ? 0.9 : 0.55));
        }
        painter->setPen(Palette::ink().resolve(appearance));
        painter->setFont(item->font);
        painter->drawText(option->rect, Qt::AlignCenter | Qt::TextShowMnemonic, item->text);
        painter->restore();
        return;
    }
    case CE_MenuItem: {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (item == nullptr) {
            break;
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QRectF row = QRectF(option->rect);
        if (item->menuItemType == QStyleOptionMenuItem::Separator) {
            const qreal y = row.center().y();
            painter->setPen(QPen(Palette::hairline().resolve(appearance), 1));
            painter->drawLine(QPointF(row.left() + kRowPadding / 2.0, y), QPointF(row.right() - kRowPadding / 2.0, y));
            painter->restore();
            return;
        }
        const bool enabled = (option->state & State_Enabled) != 0;
        const RowLook look = rowLook((option->state & State_Selected) != 0, enabled, appearance);
        if (look.fill) {
            painter->fillPath(Shapes::roundedRect(row, kRowRadius), *look.fill);
        }
        if (item->checkType != QStyleOptionMenuItem::NotCheckable && item->checked) {
            const QColor check = Palette::accentDeep().resolve(appearance);
            const QRectF square(row.left() + (kCheckColumn - kCheckSide) / 2 + kRowPadding / 2.0,
                                row.center().y() - kCheckSide / 2, kCheckSide, kCheckSide);
            Symbols::paint(*painter, square, QStringLiteral("checkmark"), check);
        }
        const auto [label, shortcut] = splitRowText(item->text);
        const QRectF text = row.adjusted(kCheckColumn + kRowPadding / 2.0, 0, -kRowPadding, 0);
        painter->setFont(item->font);
        painter->setPen(look.text);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, label);
        if (!shortcut.isEmpty()) {
            painter->setPen(look.shortcut);
            painter->drawText(text, Qt::AlignRight | Qt::AlignVCenter, shortcut);
        }
        painter->restore();
        return;
    }
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

} // namespace harborlite
