#include "ui/components/SheetOverlay.h"

#include "paint/Palette.h"
#include "ui/theme/Shapes.h"

#include <QDialog>
#include <QEvent>
#include <QPainter>

namespace harborlite {

namespace {

constexpr char kOverlayProperty[] = "harborliteSheetOverlay";

} // namespace

SheetOverlay* SheetOverlay::present(QDialog* dialog, QWidget* host)
{
    if (SheetOverlay* shown = of(dialog)) {
        shown->place();
        return shown;
    }
    auto* overlay = new SheetOverlay(dialog, host->window());
    overlay->place();
    overlay->show();
    overlay->raise();
    dialog->show();
    dialog->setFocus(Qt::OtherFocusReason);
    return overlay;
}

SheetOverlay* SheetOverlay::of(const QDialog* dialog)
{
    return dialog ? qobject_cast<SheetOverlay*>(dialog->property(kOverlayProperty).value<QObject*>()) : nullptr;
}

SheetOverlay::SheetOverlay(QDialog* dialog, QWidget* window)
    : QWidget(window)
    , dialog_(dialog)
    , owner_(dialog->parentWidget())
    , window_(window)
{
    setObjectName(QStringLiteral("sheetOverlay"));
    // Clicks on the dimmed window stop here.
    setAttribute(Qt::WA_NoMousePropagation);
    // Inside the window, not a window of its own.
    dialog->setParent(this, Qt::Widget);
    dialog->setProperty(kOverlayProperty, QVariant::fromValue<QObject*>(this));
    dialog->installEventFilter(this);
    window_->installEventFilter(this);
    // A sheet goes with the screen that raised it.
    if (owner_ && owner_ != window_) {
        connect(owner_, &QObject::destroyed, this, [this] {
            hide();
            deleteLater();
        });
    }
}

SheetOverlay::~SheetOverlay()
{
    if (dialog_ && owner_) {
        dialog_->removeEventFilter(this);
        dialog_->setProperty(kOverlayProperty, QVariant());
        dialog_->hide();
        dialog_->setParent(owner_, Qt::Dialog);
    }
}

void SheetOverlay::place()
{
    setGeometry(window_->rect());
    if (!dialog_) {
        return;
    }
    dialog_->adjustSize();
    const QSize size = dialog_->size().boundedTo(this->size());
    dialog_->setGeometry((width() - size.width()) / 2, 0, size.width(), size.height());
    update();
}

bool SheetOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::Resize) {
        place();
    } else if (watched == dialog_) {
        switch (event->type()) {
        case QEvent::Hide:
            // The dialog closed: the window comes back.
            dialog_->removeEventFilter(this);
            dialog_->setProperty(kOverlayProperty, QVariant());
            hide();
            deleteLater();
            break;
        case QEvent::LayoutRequest:
            place();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SheetOverlay::paintEvent(QPaintEvent*)
{
    const Appearance appearance = Palette::appearance(this);
    QPainter painter(this);
    painter.fillRect(rect(), Shapes::faded(QColor(Qt::black), appearance == Appearance::dark ? kDarkDim : kLightDim));
    if (dialog_ && dialog_->isVisible()) {
        shadow_.paint(painter, QRectF(dialog_->geometry()), 0, QColor(Qt::black));
    }
}

} // namespace harborlite
