#include "ui/components/TriStateToggle.h"

#include "paint/Palette.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/Symbols.h"

#include <QPainter>

namespace harborlite {

TriStateToggle::TriStateToggle(State state, const QString& accessibleName, std::function<void()> action,
                               QWidget* parent)
    : QAbstractButton(parent)
    , state_(state)
    , action_(std::move(action))
{
    setAccessibleName(accessibleName);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(sizeHint());
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (action_) {
            action_();
        }
    });
}

TriStateToggle::Look TriStateToggle::look(State state)
{
    switch (state) {
    case State::partial:
        return {PaletteRole::accent, PaletteRole::accent, Mark::bar};
    case State::all:
        return {PaletteRole::accent, PaletteRole::accent, Mark::checkmark};
    case State::none:
        break;
    }
    return {PaletteRole::card, PaletteRole::hairline, Mark::none};
}

QColor TriStateToggle::edgeColor(State state, Appearance appearance)
{
    if (state == State::none && appearance == Appearance::dark) {
        return Palette::inkTertiary().dark;
    }
    return Palette::color(look(state).edge).resolve(appearance);
}

void TriStateToggle::setState(State state)
{
    if (state != state_) {
        state_ = state;
        update();
    }
}

QSize TriStateToggle::sizeHint() const
{
    return {static_cast<int>(kSide), static_cast<int>(kSide)};
}

bool TriStateToggle::hitButton(const QPoint& position) const
{
    return rect().contains(position);
}

void TriStateToggle::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    const Look chosen = look(state_);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(0, 0, kSide, kSide);
    painter.fillPath(Shapes::roundedRect(box, kCornerRadius), Palette::color(chosen.fill).resolve(appearance));
    Shapes::strokeInside(painter, box, kCornerRadius, edgeColor(state_, appearance), kEdgeWidth);
    if (hasFocus()) {
        Shapes::strokeInside(painter, box, kCornerRadius, Palette::accentDeep().resolve(appearance), 2);
    }
    switch (chosen.mark) {
    case Mark::bar:
        painter.fillPath(
            Shapes::roundedRect(
                QRectF(box.center().x() - kBarWidth / 2, box.center().y() - kBarHeight / 2, kBarWidth, kBarHeight), 1),
            Qt::white);
        break;
    case Mark::checkmark:
        Symbols::paint(painter,
                       QRectF(box.center().x() - kCheckmarkSide / 2, box.center().y() - kCheckmarkSide / 2,
                              kCheckmarkSide, kCheckmarkSide),
                       QStringLiteral("checkmark"), Qt::white);
        break;
    case Mark::none:
        break;
    }
}

} // namespace harborlite
