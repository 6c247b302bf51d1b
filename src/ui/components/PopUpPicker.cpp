#include "ui/components/PopUpPicker.h"

#include "ui/components/GlassCompatButton.h"
#include "ui/paintcache/SurfaceCache.h"
#include "ui/theme/MenuStyle.h"
#include "ui/theme/Shapes.h"
#include "ui/theme/TypeStyle.h"

#include <QActionGroup>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace harborlite {

namespace {

// Two small chevrons, one pointing up over one pointing down, centred on
// `center`.
void paintChevrons(QPainter& painter, const QPointF& center, const QColor& color)
{
    constexpr qreal half = PopUpPicker::kChevronWidth / 2;
    constexpr qreal rise = 3;
    constexpr qreal gap = 2;
    QPainterPath path;
    path.moveTo(center.x() - half, center.y() - gap);
    path.lineTo(center.x(), center.y() - gap - rise);
    path.lineTo(center.x() + half, center.y() - gap);
    path.moveTo(center.x() - half, center.y() + gap);
    path.lineTo(center.x(), center.y() + gap + rise);
    path.lineTo(center.x() + half, center.y() + gap);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.restore();
}

} // namespace

PopUpPicker::Look PopUpPicker::look(Kind kind, bool hovered, bool open)
{
    if (kind == Kind::borderless) {
        return {hovered || open, open ? 0.85 : 0.6};
    }
    return {true, GlassCompatButtonStyle::fill(false, open, hovered).opacity};
}

PopUpPicker::PopUpPicker(const QStringList& items, Kind kind, QWidget* parent)
    : QAbstractButton(parent)
    , kind_(kind)
{
    setFont(TypeStyle::font(13, QFont::Medium));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setItems(items);
}

void PopUpPicker::addItem(const QString& title)
{
    QStringList titles = items_;
    titles.append(title);
    setItems(titles);
}

void PopUpPicker::setItems(const QStringList& titles)
{
    items_ = titles;
    const int chosen = current_ >= 0 && current_ < count() ? current_ : (items_.isEmpty() ? -1 : 0);
    const bool changed = chosen != current_;
    current_ = chosen;
    setText(currentText());
    updateGeometry();
    update();
    if (changed) {
        emit currentIndexChanged(current_);
    }
}

QString PopUpPicker::itemText(int index) const
{
    return index >= 0 && index < count() ? items_.at(index) : QString();
}

void PopUpPicker::setCurrentIndex(int index)
{
    if (index < 0 || index >= count() || index == current_) {
        return;
    }
    current_ = index;
    setText(currentText());
    update();
    emit currentIndexChanged(current_);
}

void PopUpPicker::choose(int index)
{
    setCurrentIndex(index);
    if (index >= 0 && index < count()) {
        emit activated(index);
    }
}

bool PopUpPicker::isPopupVisible() const
{
    return menu_ && menu_->isVisible();
}

void PopUpPicker::showPopup()
{
    if (items_.isEmpty() || isPopupVisible()) {
        return;
    }
    if (menu_) {
        menu_->deleteLater();
    }
    QMenu* menu = makeMenu();
    QAction* chosen = current_ >= 0 ? menu->actions().value(current_) : nullptr;
    const QRectF capsule = capsuleRect();
    connect(menu, &QMenu::aboutToHide, this, [this] {
        setDown(false);
        update();
    });
    menu_ = menu;
    setDown(true);
    update();
    // The chosen entry opens over the button, its title where the button's is.
    const qreal textShift = MenuStyle::kPanelMargin + MenuStyle::kCheckColumn + MenuStyle::kRowPadding / 2.0
        - (kind_ == Kind::glass ? kLeadingPadding : kBorderlessPadding);
    const QPoint at =
        mapToGlobal(QPointF(capsule.left() - textShift, capsule.center().y() - MenuStyle::kRowHeight / 2.0).toPoint());
    menu->popup(at, chosen);
}

QMenu* PopUpPicker::makeMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("popUpPickerMenu"));
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    for (int index = 0; index < count(); ++index) {
        QAction* action = menu->addAction(items_.at(index));
        action->setCheckable(true);
        action->setChecked(index == current_);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, index] { choose(index); });
    }
    MenuStyle::apply(menu);
    menu->setMinimumWidth(static_cast<int>(std::ceil(capsuleRect().width())) + 2 * MenuStyle::kPanelMargin);
    return menu;
}

QRectF PopUpPicker::capsuleRect() const
{
    return QRectF(rect()).adjusted(kFocusMargin, kFocusMargin, -kFocusMargin, -kFocusMargin);
}

QSize PopUpPicker::sizeHint() const
{
    const QFontMetricsF metrics(font());
    qreal widest = 0;
    for (const QString& item : items_) {
        widest = std::max(widest, metrics.horizontalAdvance(item));
    }
    const qreal leading = kind_ == Kind::glass ? kLeadingPadding : kBorderlessPadding;
    const qreal trailing = kind_ == Kind::glass ? kTrailingPadding : kBorderlessPadding;
    const qreal width = leading + widest + kChevronGap + kChevronWidth + trailing + 2 * kFocusMargin;
    const qreal height = metrics.height() + 2 * kVerticalPadding + 2 * kFocusMargin;
    return {static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height))};
}

QSize PopUpPicker::minimumSizeHint() const
{
    return sizeHint();
}

void PopUpPicker::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) {
        painter.setOpacity(GlassCompatButtonStyle::kDisabledOpacity);
    }
    if (keyboardFocus_ && hasFocus()) {
        painter.setPen(QPen(Palette::accent().resolve(appearance), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(Shapes::capsule(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75)));
    }
    const QRectF capsule = capsuleRect();
    const Look shown = look(kind_, isHovering_ && isEnabled(), isPopupVisible() || isDown());
    // The capsule comes from cached pixels: its antialiased outline would go
    // to the raster engine's thread pool on every repaint of the header.
    if (shown.drawsCapsule && kind_ == Kind::glass) {
        GlassCompatButtonStyle::paintCapsule(painter, capsule,
                                             Shapes::faded(Palette::card().resolve(appearance), shown.fillOpacity),
                                             Palette::surfaceStroke().resolve(appearance), appearance);
    } else if (shown.drawsCapsule) {
        SurfaceCache::fill(painter, capsule, capsule.height() / 2,
                           Shapes::faded(Palette::hoverFill().resolve(appearance), shown.fillOpacity));
    }
    const qreal leading = kind_ == Kind::glass ? kLeadingPadding : kBorderlessPadding;
    const qreal trailing = kind_ == Kind::glass ? kTrailingPadding : kBorderlessPadding;
    const qreal chevronX = capsule.right() - trailing - kChevronWidth / 2;
    paintChevrons(painter, QPointF(chevronX, capsule.center().y()), Palette::inkSecondary().resolve(appearance));
    const QRectF textRect(capsule.left() + leading, capsule.top(),
                          std::max<qreal>(0, chevronX - kChevronWidth / 2 - kChevronGap - capsule.left() - leading),
                          capsule.height());
    painter.setFont(font());
    painter.setPen(Palette::ink().resolve(appearance));
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(font()).elidedText(currentText(), Qt::ElideRight, textRect.width()));
}

void PopUpPicker::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractButton::mousePressEvent(event);
        return;
    }
    event->accept();
    showPopup();
}

void PopUpPicker::mouseReleaseEvent(QMouseEvent* event)
{
    // The menu took the press; nothing is clicked on release.
    event->accept();
}

void PopUpPicker::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool opens = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F4
        || (key == Qt::Key_Down && (event->modifiers() & Qt::AltModifier));
    if (opens) {
        showPopup();
        event->accept();
        return;
    }
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        const int step = key == Qt::Key_Up ? -1 : 1;
        const int next = std::clamp(current_ + step, 0, std::max(0, count() - 1));
        if (next != current_) {
            choose(next);
        }
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void PopUpPicker::keyReleaseEvent(QKeyEvent* event)
{
    // Space opened the menu on its press; its release clicks nothing.
    if (event->key() == Qt::Key_Space) {
        event->accept();
        return;
    }
    QAbstractButton::keyReleaseEvent(event);
}

void PopUpPicker::enterEvent(QEnterEvent* event)
{
    isHovering_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PopUpPicker::leaveEvent(QEvent* event)
{
    isHovering_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void PopUpPicker::focusInEvent(QFocusEvent* event)
{
    keyboardFocus_ = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void PopUpPicker::focusOutEvent(QFocusEvent* event)
{
    keyboardFocus_ = false;
    QAbstractButton::focusOutEvent(event);
}

} // namespace harborlite
