#pragma once

#include <QAbstractButton>
#include <QPointer>

class QMenu;

namespace harborlite {

// The disk map's root menu in the borderless look: a folder symbol, the
// root's name cut at the end when too long and a down chevron, 170 wide, with
// a faint capsule while hovered or open. A press opens the menu below it,
// which its owner fills as it is about to show.
class RootMenuButton : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int kWidth = 170;
    static constexpr qreal kSymbolSide = 13;
    static constexpr qreal kPadding = 8;
    static constexpr qreal kGap = 6;
    static constexpr qreal kChevronSide = 10;

    explicit RootMenuButton(QWidget* parent = nullptr);

    // The menu the button opens; it stays the owner's.
    void setMenu(QMenu* menu);
    QMenu* menu() const { return menu_; }
    void showMenu();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPointer<QMenu> menu_;
    bool isHovering_ = false;
};

} // namespace harborlite
