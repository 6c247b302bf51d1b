#pragma once

#include "model/Route.h"

#include <QAbstractButton>

#include <optional>

namespace harborlite {

// One destination of the sidebar: the route's symbol and title and an
// optional badge. Selected, it shows white on the accent gradient, which the
// list paints behind it with its shadow; hovered, a soft fill. The row is
// checkable so assistive tools read which destination is shown; its checked
// state follows the model's route, never a click of its own.
class SidebarRow : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 11;

    explicit SidebarRow(Route route, QWidget* parent = nullptr);

    // The width a row needs to show `title` and `badge` whole, selected (the
    // bolder weight).
    static int neededWidth(const QString& title, const std::optional<QString>& badge);
    // The title's type: 12.5 pixels, semibold when selected, medium
    // otherwise, whatever the width.
    static QFont titleFont(bool selected);
    // The title as drawn in `width`: whole when it fits, else cut at the end
    // with an ellipsis, in the title's own type.
    static QString shownTitle(const QString& title, qreal width, bool selected);

    Route route() const { return route_; }
    bool isSelected() const { return isChecked(); }
    const std::optional<QString>& badge() const { return badge_; }
    bool isHovering() const { return isHovering_; }

    void setSelected(bool selected);
    void setBadge(std::optional<QString> badge);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void nextCheckState() override { }
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Route route_;
    std::optional<QString> badge_;
    bool isHovering_ = false;
};

} // namespace harborlite
