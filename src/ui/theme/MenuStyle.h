#pragma once

#include "paint/Palette.h"

#include <QProxyStyle>

#include <optional>

class QMenu;
class QMenuBar;

namespace harborlite {

// Menus and menu strips in the system's look instead of the stock one: a card
// panel with a hairline edge and rounded corners, rows in ink on 13 px
// medium type, the row under the pointer on a mint capsule (ink stays
// legible on it in both appearances), the chosen entry of a pop-up marked
// with an accent checkmark, shortcuts in the tertiary ink. A menu strip is the canvas with its titles on a hover
// capsule while their menu is open. Colours resolve from the appearance the menu is drawn in, so one style serves light
// and dark.
class MenuStyle : public QProxyStyle {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 10;
    static constexpr int kPanelMargin = 5;
    static constexpr int kRowHeight = 26;
    static constexpr int kSeparatorHeight = 9;
    static constexpr int kCheckColumn = 22;
    static constexpr int kRowPadding = 10;
    static constexpr int kShortcutGap = 24;
    static constexpr qreal kRowRadius = 6;
    static constexpr int kStripItemPadding = 10;
    static constexpr int kStripItemHeight = 24;

    // Text and fill of one menu row, by its state.
    struct RowLook {
        bool highlighted = false;
        QColor text;
        QColor shortcut;
        std::optional<QColor> fill;

        bool operator==(const RowLook&) const = default;
    };
    static RowLook rowLook(bool selected, bool enabled, Appearance appearance);

    MenuStyle();

    // Gives the menu and its submenus this style, each its own instance
    // parented to the menu; the menu's corners are cut round.
    static void apply(QMenu* menu);
    // Gives the strip and each of its menus this style.
    static void apply(QMenuBar* strip);

    void polish(QWidget* widget) override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

} // namespace harborlite
