#pragma once

#include "paint/Palette.h"

#include <QAbstractButton>
#include <QMenu>
#include <QPointer>
#include <QStringList>

namespace harborlite {

// A pop-up button of the design system: a capsule showing the chosen entry's
// title with an up-and-down chevron at its trailing end. A press (or Space,
// Return, Alt+Down) opens the entries as a menu in the system's look
// (`MenuStyle`), the chosen one checked and laid over the button; Up and Down
// step through the entries without opening it. The glass kind is the plain
// glass button's capsule (card fill at the button's hover and press
// opacities, surface stroke); the borderless kind draws only the title and the
// chevron, with a faint capsule while hovered or open, for a menu inside a
// line of text or a toolbar. Entries are plain titles chosen by index, as in a
// combo box; the kit knows nothing of what they stand for.
class PopUpPicker : public QAbstractButton {
    Q_OBJECT

public:
    enum class Kind { glass, borderless };

    static constexpr qreal kFocusMargin = 2;
    static constexpr qreal kLeadingPadding = 14;
    static constexpr qreal kTrailingPadding = 11;
    static constexpr qreal kVerticalPadding = 7;
    static constexpr qreal kChevronWidth = 7;
    static constexpr qreal kChevronGap = 8;
    static constexpr qreal kBorderlessPadding = 8;

    // What the capsule shows in a state: whether it is drawn, and the fill
    // opacity of the card colour (the plain glass button's rule).
    struct Look {
        bool drawsCapsule = false;
        qreal fillOpacity = 0;

        bool operator==(const Look&) const = default;
    };
    static Look look(Kind kind, bool hovered, bool open);

    explicit PopUpPicker(const QStringList& items = {}, Kind kind = Kind::glass, QWidget* parent = nullptr);

    Kind kind() const { return kind_; }

    void addItem(const QString& title);
    // Replaces the entries; the chosen index stays when it is still one of
    // them, else the first entry is chosen (none for an empty list).
    void setItems(const QStringList& titles);
    int count() const { return static_cast<int>(items_.size()); }
    QString itemText(int index) const;
    const QStringList& items() const { return items_; }

    // -1 while there are no entries.
    int currentIndex() const { return current_; }
    QString currentText() const { return itemText(current_); }
    // Emits currentIndexChanged when the index changes; out-of-range indexes
    // are ignored.
    void setCurrentIndex(int index);

    // Opens the menu of entries; the open menu, if any.
    void showPopup();
    // The menu of entries as it opens, parented to the picker and not shown.
    QMenu* makeMenu();
    QMenu* popup() const { return menu_; }
    bool isPopupVisible() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void currentIndexChanged(int index);
    // An entry was chosen by the user (from the menu or with the arrow keys),
    // the chosen one included.
    void activated(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QRectF capsuleRect() const;
    void choose(int index);

    Kind kind_;
    QStringList items_;
    int current_ = -1;
    bool isHovering_ = false;
    bool keyboardFocus_ = false;
    QPointer<QMenu> menu_;
};

} // namespace harborlite
