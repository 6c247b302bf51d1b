#pragma once

#include "engine/models/ScanCategory.h"
#include "ui/components/CoalescedRefresh.h"
#include "ui/components/ScreenServices.h"
#include "ui/results/ResultsListController.h"
#include "ui/results/ResultsListPainter.h"

#include <QElapsedTimer>
#include <QList>
#include <QListView>
#include <QTimer>
#include <QUuid>

#include <vector>

namespace harborlite {

class ScanSession;
class CategorySectionHeader;
class ResultsModel;

// The one list through which the cleaning screens show what the scans found:
// one card per category (its header with scan state and "Scan"/"Rescan", then
// its groups or a one-line text), each group a row with its tri-state box,
// count, size and chevron, and while expanded its items, 40 at first and then
// 200 more per "Show … more of …". Every choice goes to the model
// (toggleItem, toggleGroup, setExpanded, scan); the list keeps only each
// group's page size, and its controller the pressed row.
//
// Rows are painted (no widget per row) from a flat item model that follows the
// model's results in place: a toggle repaints its rows only, an expansion or a
// page inserts or removes only its rows, so the current row and the scroll
// position stay. Progress repaints the section headers only, and while one of
// the list's categories scans, new results and running states reach the rows
// at most five times a second. Group titles wrap; each is measured when its
// row first comes into view. File icons come by kind, a placeholder until the
// kind is known.
//
// A screen that shows one category's card alone (a category section) builds
// the list with that one category.
//
// By default the list is as tall as its content and leaves scrolling to the
// screen around it (ScreenFrame); setFitsContent(false) makes it scroll itself.
//
// Keyboard: the arrows move between groups, items and "Show more" rows; Space
// toggles the current group or item; Enter (or Return) expands or collapses
// the current group and shows the next page on a "Show more" row. Assistive
// tools read each group and item row by its title, with its box as the row's
// checked state, and hear of every toggle.
//
// The list is the view: it follows the model, lays out the rows and the
// cards and knows what is in view. What input does to the rows is its
// ResultsListController's; how the rows and cards look, and where a row's
// parts lie, its ResultsListPainter's.
class ResultsList : public QListView {
    Q_OBJECT

public:
    static constexpr int kFirstPage = 40;
    static constexpr int kPageStep = 200;
    // The shortest time between two refreshes of the rows while scanning.
    static constexpr int kScanningRefreshMs = 200;

    using Target = RowTarget;

    ResultsList(ScanSession& scans, QList<ScanCategory> categories, const ScreenServices& services,
                QWidget* parent = nullptr);
    ~ResultsList() override;

    const QList<ScanCategory>& categories() const;
    ResultsModel* resultsModel() const { return rows_; }

    // Follows the model now rather than at the next turn of the event loop.
    void refreshNow();

    void setFitsContent(bool fits);

    // Rows by what they show; invalid when not listed (collapsed, on a later
    // page, or gone with a new result).
    QModelIndex sectionIndex(ScanCategory category) const;
    QModelIndex groupIndex(ScanCategory category, const QUuid& group) const;
    QModelIndex itemIndex(ScanCategory category, const QUuid& item) const;
    QModelIndex showMoreIndex(ScanCategory category, const QUuid& group) const;

    // Where a part of a listed row lies in the viewport; empty when the row
    // has no such part.
    QRect targetRect(const QModelIndex& index, Target target) const;
    Target targetAt(const QPoint& viewportPosition) const;
    // The tooltip at a point of the viewport: the review warning's or the reveal's.
    QString toolTipAt(const QPoint& viewportPosition) const;

    // The header widget of a category's card.
    CategorySectionHeader* sectionHeader(ScanCategory category) const;

    // How many of the group's items are listed when it is expanded.
    int visibleCount(const QUuid& group) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

private:
    // A result or a running state changed: the rows follow on the next turn,
    // or a while later when they followed a moment ago and a scan runs.
    void scheduleRefresh();
    void refreshHeaders();
    void repaintSelection(ScanCategory category, const QUuid& id);
    // Repaints a row whose box changed and tells assistive tools of its new state.
    void showBoxChange(int row);
    void showIcons(const QStringList& paths);
    // What the rows are built from, per category of the list: the result
    // (by its data) and whether it is being scanned.
    struct RowSource {
        const void* groups = nullptr;
        qsizetype groupCount = -1;
        qint64 scannedAt = 0;
        bool running = false;

        bool operator==(const RowSource&) const = default;
    };
    std::vector<RowSource> rowSources() const;
    void lookUpIcons();
    void paintPart(QPaintEvent* event);
    // The section and group cards that reach into `area`.
    ResultsListPainter::Cards cardsIn(const QRect& area) const;
    // Measures the titles of the group rows in `area` not measured yet (the
    // rows about to be painted); when one is taller than a line the rows are
    // laid out again.
    void measureTitles(const QRect& area);
    int measuredTitleHeight(int row) const;
    void relayout();
    bool isScanning() const;
    void placeSectionHeaders();
    int headerHeight() const;
    int contentHeight() const;

    ScanSession& scans_;
    ScreenServices services_;
    ResultsModel* rows_;
    ResultsListController controller_;
    ResultsListPainter* painter_ = nullptr;
    QList<CategorySectionHeader*> headers_;
    int headerHeight_ = 0;
    bool fitsContent_ = true;
    CoalescedRefresh refresher_{this, [this] { refreshNow(); }};
    CoalescedRefresh headerRefresher_{this, [this] { refreshHeaders(); }};
    CoalescedRefresh relayouter_{this, [this] { relayout(); }};
    std::vector<RowSource> shownSources_;
    CoalescedRefresh repainter_{this, [this] { viewport()->update(); }};
    QTimer delayedRefresh_;
    QElapsedTimer lastRefresh_;
    int titleWidth_ = -1;
    mutable int contentHeight_ = -1;
    mutable int contentWidth_ = -1;
};

} // namespace harborlite
