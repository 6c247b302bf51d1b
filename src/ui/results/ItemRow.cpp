#include "ui/results/ItemRow.h"

#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace harborlite {

namespace {

// What assistive tools read of a row: a check box named after the item,
// checked while the item is selected.
class ItemRowAccessible : public QAccessibleWidget {
public:
    explicit ItemRowAccessible(ItemRow* row)
        : QAccessibleWidget(row, QAccessible::CheckBox)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State made = QAccessibleWidget::state();
        made.checkable = true;
        made.checked = static_cast<const ItemRow*>(widget())->item().isSelected;
        return made;
    }
};

QAccessibleInterface* itemRowAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(ItemRow::staticMetaObject.className()) && object && object->isWidgetType()) {
        return new ItemRowAccessible(static_cast<ItemRow*>(object));
    }
    return nullptr;
}

} // namespace

ItemRow::ItemRow(const ScanItem& item, std::function<void()> toggle, const ScreenServices& services, QWidget* parent)
    : QWidget(parent)
    , item_(item)
    , toggle_(std::move(toggle))
    , services_(services)
{
    static const bool accessible = (QAccessible::installFactory(itemRowAccessible), true);
    Q_UNUSED(accessible);
    setObjectName(QStringLiteral("itemRow"));
    setAccessibleName(item.displayName);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_Hover);
    if (services_.whenIconsArrive) {
        services_.whenIconsArrive(this, [this](const QStringList&) { update(); });
    }
}

void ItemRow::setItem(const ScanItem& item)
{
    const bool heightChanges = ItemRowPainter::height(item) != ItemRowPainter::height(item_);
    const bool checkChanges = item.isSelected != item_.isSelected;
    item_ = item;
    setAccessibleName(item.displayName);
    if (checkChanges) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
    if (heightChanges) {
        updateGeometry();
    }
    update();
}

ScanGroup::SelectionState ItemRow::boxState() const
{
    return item_.isSelected ? ScanGroup::SelectionState::all : ScanGroup::SelectionState::none;
}

ItemRowPainter::Layout ItemRow::parts() const
{
    return ItemRowPainter::layout(rect(), item_);
}

QString ItemRow::toolTipAt(const QPoint& position) const
{
    const ItemRowPainter::Layout where = parts();
    if (where.warning.contains(position)) {
        return ItemRowPainter::warningToolTip();
    }
    if (where.reveal.adjusted(-4, -4, 4, 4).contains(position)) {
        return ItemRowPainter::revealToolTip();
    }
    return {};
}

QSize ItemRow::sizeHint() const
{
    return {360, ItemRowPainter::height(item_)};
}

QSize ItemRow::minimumSizeHint() const
{
    return {200, ItemRowPainter::height(item_)};
}

void ItemRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QIcon icon = services_.iconForFile ? services_.iconForFile(item_.url) : QIcon();
    ItemRowPainter::paint(painter, rect(), item_, icon, isHovering_, false, Palette::appearance(this));
}

void ItemRow::enterEvent(QEnterEvent* event)
{
    isHovering_ = true;
    update();
    QWidget::enterEvent(event);
}

void ItemRow::leaveEvent(QEvent* event)
{
    isHovering_ = false;
    update();
    QWidget::leaveEvent(event);
}

ItemRow::Part ItemRow::partAt(const QPoint& position) const
{
    const ItemRowPainter::Layout where = parts();
    // The small targets take a few pixels more than they draw.
    if (where.box.adjusted(-3, -3, 3, 3).contains(position)) {
        return Part::box;
    }
    if (where.reveal.adjusted(-4, -4, 4, 4).contains(position)) {
        return Part::reveal;
    }
    return Part::none;
}

void ItemRow::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton ? partAt(event->position().toPoint()) : Part::none;
    event->accept();
}

void ItemRow::mouseReleaseEvent(QMouseEvent* event)
{
    const Part pressed = pressed_;
    pressed_ = Part::none;
    if (event->button() != Qt::LeftButton || pressed == Part::none || partAt(event->position().toPoint()) != pressed) {
        return;
    }
    if (pressed == Part::box) {
        if (toggle_) {
            toggle_();
        }
    } else if (services_.reveal) {
        services_.reveal({item_.url});
    }
}

bool ItemRow::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = toolTipAt(help->pos());
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return QWidget::event(event);
}

} // namespace harborlite
