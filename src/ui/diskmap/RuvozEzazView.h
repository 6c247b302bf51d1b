#pragma once

#include "ui/components/CoalescedRefresh.h"
#include "ui/components/ScreenServices.h"
#include "ui/diskmap/RuvozEzazPresentation.h"

#include <QString>
#include <QWidget>

#include <memory>

class QLabel;
class QMenu;

namespace harborlite {

class DiskColumns;
class DiskMap;
class EmptyStateView;
class GlassCompatButton;
class GlassPanel;
class ProgressRing;
class RoleLabel;
class RootMenuButton;
class ScanSession;
class ScreenFrame;
class SelectionBar;
class SoftShadow;
class StoragePanel;
class SystemTools;

// The disk map screen: the header with the root menu and the build button,
// the storage panel of the start-up disk, and one of three states: the
// measuring ring while a map is built, the column browser with the selection
// bar when the model holds a map, or the empty state. The root (the home
// folder at first) and the selection path are the screen's own and start
// again with each visit; the map and the build belong to the disk map store.
// Showing the screen measures the storage, never the map: a map is built
// only when asked. "Stop" stops every scan, as the one Stop does.
class RuvozEzazView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSpacing = 16;
    static constexpr int kPadding = 26;
    static constexpr int kControlsSpacing = 9;
    static constexpr qreal kPanelRadius = 22;
    static constexpr int kBrowserPadding = 6;
    static constexpr int kBrowserMinHeight = 400;
    static constexpr qreal kRingSide = 130;
    static constexpr qreal kRingLine = 12;

    // `services` reveals locations and runs the folder chooser; `exists`
    // tells which folders the menu and the storage panel may offer.
    RuvozEzazView(DiskMap& map, ScanSession& scans, SystemTools& tools, ScreenServices services,
                  RuvozEzazPresentation::FolderExists exists = {}, QWidget* parent = nullptr);
    ~RuvozEzazView() override;

    // Maps another folder: it becomes the root, the path is emptied and the
    // build is asked for (the store ignores it while a build runs).
    void select(const QString& folder);
    // Runs the folder chooser from the home folder and maps the folder chosen.
    void chooseFolder();
    // "Rebuild Map" and the empty state's button: the same root again.
    void rebuild();

    const QString& root() const { return root_; }
    RuvozEzazPresentation::MainState state() const { return state_; }

    RootMenuButton* rootMenu() const { return rootMenu_; }
    // The menu as it is about to show, its items made afresh.
    QMenu* preparedRootMenu();
    GlassCompatButton* buildButton() const { return buildButton_; }
    StoragePanel* storagePanel() const { return storagePanel_; }
    DiskColumns* columns() const { return columns_; }
    SelectionBar* selectionBar() const { return selectionBar_; }
    EmptyStateView* emptyState() const { return emptyState_; }
    ProgressRing* ring() const { return ring_; }
    QLabel* ringPercent() const { return ringPercent_; }
    RoleLabel* measuringLabel() const { return measuring_; }

    // Follows the stores now rather than at the next turn of the event loop.
    void refreshNow();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillRootMenu();
    void showPage(QWidget* page);
    void showTree();
    void showSelection();
    void showStorage();

    DiskMap& map_;
    ScanSession& scans_;
    SystemTools& tools_;
    ScreenServices services_;
    RuvozEzazPresentation::FolderExists exists_;
    QString root_;
    RuvozEzazPresentation::MainState state_ = RuvozEzazPresentation::MainState::nothingMapped;

    ScreenFrame* frame_;
    RootMenuButton* rootMenu_;
    QMenu* menu_;
    GlassCompatButton* buildButton_;
    StoragePanel* storagePanel_;
    QWidget* buildingPage_;
    ProgressRing* ring_;
    QLabel* ringPercent_;
    RoleLabel* measuring_;
    QWidget* mappedPage_;
    GlassPanel* browserPanel_;
    DiskColumns* columns_ = nullptr;
    // The map the browser shows, to tell a new one from the same.
    QUuid shownTree_;
    SelectionBar* selectionBar_;
    EmptyStateView* emptyState_;
    std::unique_ptr<SoftShadow> browserShadow_;
    CoalescedRefresh refresher_{this, [this] { refreshNow(); }};
};

} // namespace harborlite
