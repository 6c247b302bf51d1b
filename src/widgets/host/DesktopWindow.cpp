#include "widgets/host/DesktopWindow.h"

#include "ui/theme/MenuStyle.h"
#include "widgets/host/DesktopLayer.h"
#include "widgets/host/WidgetPicture.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

namespace harborlite {

DesktopWindow::DesktopWindow(const QString& title, QSize size, bool blend)
    : QWidget(nullptr,
              Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint | Qt::WindowDoesNotAcceptFocus
                  | Qt::NoDropShadowWindowHint)
    , blend_(blend)
{
    setWindowTitle(title);
    setAccessibleName(title);
    setFixedSize(size);
    setAttribute(Qt::WA_TranslucentBackground, blend);
    setAttribute(Qt::WA_OpaquePaintEvent, !blend);
    if (!blend && QGuiApplication::platformName() == QLatin1String("xcb")) {
        // Without a compositor the corners are cut from the window itself.
        setMask(QRegion(WidgetPicture::frame(QRectF(rect())).toFillPolygon().toPolygon()));
    }
    DesktopLayer::keepOnDesktop(this);
}

void DesktopWindow::setPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

void DesktopWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (blend_) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (!picture_.isNull()) {
        WidgetPicture::paint(painter, QRectF(rect()), picture_);
    }
}

void DesktopWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        grip_ = event->position().toPoint();
        dragged_ = false;
    }
}

void DesktopWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (grip_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *grip_);
        dragged_ = true;
    }
}

void DesktopWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && grip_) {
        grip_.reset();
        if (dragged_) {
            emit moved(pos());
        }
    }
}

std::unique_ptr<QMenu> DesktopWindow::makeMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    menu->addAction(QCoreApplication::translate("DesktopWindow", "Remove Widget"), this,
                    &DesktopWindow::removeRequested);
    menu->addAction(QCoreApplication::translate("DesktopWindow", "Edit Widgets…"), this,
                    &DesktopWindow::galleryRequested);
    menu->addSeparator();
    menu->addAction(QCoreApplication::translate("DesktopWindow", "Quit"), this, &DesktopWindow::quitRequested);
    MenuStyle::apply(menu.get());
    return menu;
}

void DesktopWindow::contextMenuEvent(QContextMenuEvent* event)
{
    makeMenu()->exec(event->globalPos());
}

void DesktopWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit closed();
}

void DesktopWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        emit appearanceChanged();
    }
    QWidget::changeEvent(event);
}

} // namespace harborlite
