#pragma once

#include "paint/Palette.h"
#include "shared/PaletteRole.h"

#include <QAbstractButton>

#include <functional>

namespace harborlite {

// The small square check box of the result lists: empty, a bar or a tick for
// none, some or all of a group selected. A click calls the action; the caller
// decides what changes, the toggle never changes its own state.
class TriStateToggle : public QAbstractButton {
    Q_OBJECT

public:
    // None, some or all of what the box stands for is chosen.
    enum class State { none, partial, all };

    enum class Mark { none, bar, checkmark };

    struct Look {
        PaletteRole fill;
        PaletteRole edge;
        Mark mark;

        bool operator==(const Look&) const = default;
    };

    static constexpr qreal kSide = 17;
    static constexpr qreal kCornerRadius = 5;
    static constexpr qreal kEdgeWidth = 1.2;
    static constexpr qreal kBarWidth = 9;
    static constexpr qreal kBarHeight = 2.5;
    static constexpr qreal kCheckmarkSide = 10;

    TriStateToggle(State state, const QString& accessibleName, std::function<void()> action, QWidget* parent = nullptr);

    static Look look(State state);
    // The box's edge as drawn: the look's, except that an empty box in the
    // dark appearance takes the tertiary ink, since the dark hairline on the
    // dark card all but vanishes on an inner card (about 1.2:1 against 4:1).
    static QColor edgeColor(State state, Appearance appearance);

    State state() const { return state_; }
    void setState(State state);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;

private:
    State state_;
    std::function<void()> action_;
};

} // namespace harborlite
