#pragma once

#include "ui/results/RowTarget.h"

#include <QPersistentModelIndex>
#include <QStringList>

#include <functional>
#include <optional>

namespace harborlite {

class ResultsModel;
class ScanSession;

// What the pointer and the keys do to the results list's rows, told by row
// and part, apart from where the rows lie: a click on a box toggles its item
// or group, on a group's header or chevron expands or collapses it, on the
// reveal symbol shows the file, on "Show more" lists the next page. Every
// choice goes to the scan store; only the next page is the list's own.
class ResultsListController {
public:
    // What a key did: whether it is the list's, and the row it makes current
    // when it moves the current row.
    struct KeyOutcome {
        bool handled = false;
        std::optional<QModelIndex> current;
    };

    // `reveal` shows files in the file manager (may be empty); `whenPaged`
    // follows a page of items listed below a group.
    ResultsListController(ScanSession& scans, ResultsModel& rows, std::function<void(const QStringList&)> reveal,
                          std::function<void()> whenPaged);

    // A press on a row's part (none for a press of another button than the
    // left one, or outside the row's parts).
    void press(const QModelIndex& index, RowTarget target);
    // A release over a row's part: acts when it ends a press on the same part
    // of the same row.
    void release(const QModelIndex& index, RowTarget target);

    // Space toggles the current group or item; Enter (or Return) expands or
    // collapses the current group and lists the next page on a "Show more"
    // row; Right expands a group, Left collapses it or goes from an item or a
    // "Show more" row up to its group. Other keys are not the list's.
    KeyOutcome keyPress(int key, const QModelIndex& current);

    // The ways the cursor moves: a row, a page of ten rows, to either end.
    enum class Move { up, down, pageUp, pageDown, home, end };

    // Where the cursor moves from `current`: over group, item and "Show
    // more" rows only; `current` where none lies that way.
    QModelIndex moveCursor(Move move, const QModelIndex& current) const;

private:
    void act(const QModelIndex& index, RowTarget target);
    // What Space does on a row: flips an item, toggles a group, shows a page.
    void toggle(const QModelIndex& index);
    // What Enter does on a row: expands or collapses a group, shows a page.
    void expandOrPage(const QModelIndex& index);
    void setExpanded(const QModelIndex& index, bool expanded);

    ScanSession& scans_;
    ResultsModel& rows_;
    std::function<void(const QStringList&)> reveal_;
    std::function<void()> whenPaged_;
    QPersistentModelIndex pressedIndex_;
    RowTarget pressedTarget_ = RowTarget::none;
};

} // namespace harborlite
