#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <memory>
#include <optional>

class QMenu;

namespace harborlite {

// The frameless window of one placed widget, on the desktop layer below every
// other window. It shows the widget's latest picture in the rounded frame, can
// be dragged to another place and offers the host's actions on a right click.
class DesktopWindow : public QWidget {
    Q_OBJECT

public:
    // `blend`: translucent corners (a compositing manager runs); otherwise the
    // window is shaped to its frame.
    DesktopWindow(const QString& title, QSize size, bool blend);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

    // The right-click menu ("Remove Widget", "Edit Widgets…", "Quit") in the
    // kit's menu style.
    std::unique_ptr<QMenu> makeMenu();

signals:
    // The user dropped the window at `position` (its top-left corner).
    void moved(QPoint position);
    void removeRequested();
    void galleryRequested();
    void quitRequested();
    // The window was closed from outside (the window manager).
    void closed();
    // The desktop's colours changed, so the picture is out of date.
    void appearanceChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool blend_;
    QImage picture_;
    // Where in the window the drag took hold; none when no drag is on.
    std::optional<QPoint> grip_;
    bool dragged_ = false;
};

} // namespace harborlite
