#pragma once

#include "ui/cleaning/ShredderTargets.h"
#include "ui/components/ScreenServices.h"

#include <QPointer>
#include <QWidget>

class QScrollArea;
class QVBoxLayout;

namespace harborlite {

class ConfirmDialog;
class DropZone;
class PrimaryActionBar;
class ScreenFrame;
class ShredderRow;
class SystemTools;

// The Shredder: files and folders dropped on the zone or picked in the
// chooser are measured off the GUI thread and listed in the order they came;
// after a confirmation they are overwritten and deleted (the tools run the
// removal engine in shred mode), and the outcome is the window's banner,
// raised even when the screen is gone by then.
class ShredderView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kListMaxHeight = 260;

    ShredderView(SystemTools& tools, const ScreenServices& services, QWidget* parent = nullptr);

    // Adds locations in order (the duplicate rule applied), to be listed once measured.
    void add(const QStringList& paths);
    // Shows the confirmation for the listed targets; refused while one is
    // still measured. Its destructive button shreds the targets it named.
    void confirmShred();
    // Shreds the named targets that are still listed, nothing added since.
    void shred(const QSet<QUuid>& named);

    const ShredderTargets& targets() const { return targets_; }
    // A shred runs; the tools keep it, so a screen made anew sees it too.
    bool isShredding() const;
    DropZone* dropZone() const { return dropZone_; }
    QScrollArea* fileList() const { return list_; }
    PrimaryActionBar* actionBar() const { return bar_; }
    // The confirmation while it is open.
    ConfirmDialog* confirmation() const;
    QList<ShredderRow*> rows() const;

private:
    void chooseFiles();
    void runEnded(const QSet<QUuid>& ran);
    void refresh();
    void rebuildRows();

    SystemTools& tools_;
    ScreenServices services_;
    ShredderTargets targets_;
    ScreenFrame* frame_;
    DropZone* dropZone_;
    QScrollArea* list_;
    QWidget* listColumn_;
    QVBoxLayout* rowsLayout_;
    PrimaryActionBar* bar_ = nullptr;
    QPointer<ConfirmDialog> confirmation_;
    QList<QUuid> shownIds_;
};

} // namespace harborlite
