#pragma once

#include <QStringList>
#include <QWidget>

class QMimeData;

namespace harborlite {

class GlassCompatButton;
class RoleLabel;

// The Shredder's drop target: a dashed, rounded zone with the flame, "Drag
// files here" (or "Release to add" while a drag of files is over it), a line
// of help and the "Choose Files…" button. Only local files of a drag count;
// anything else it carries is ignored.
class DropZone : public QWidget {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 22;
    static constexpr qreal kDashWidth = 1.6;
    static constexpr int kVerticalPadding = 34;
    static constexpr int kSpacing = 12;
    static constexpr qreal kSymbolSide = 38;

    explicit DropZone(QWidget* parent = nullptr);

    // The local files of a drag, in its order; remote and other locations left out.
    static QStringList localFiles(const QMimeData* data);

    bool isDropTargeted() const { return isDropTargeted_; }
    RoleLabel* titleLabel() const { return title_; }
    GlassCompatButton* chooseButton() const { return choose_; }

signals:
    void dropped(const QStringList& paths);
    void chooseRequested();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setDropTargeted(bool targeted);

    bool isDropTargeted_ = false;
    QWidget* symbol_;
    RoleLabel* title_;
    RoleLabel* help_;
    GlassCompatButton* choose_;
};

} // namespace harborlite
