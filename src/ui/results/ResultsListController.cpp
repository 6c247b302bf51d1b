#include "ui/results/ResultsListController.h"

#include "model/ScanSession.h"
#include "ui/results/ResultsModel.h"

#include <algorithm>

namespace harborlite {

using Kind = ResultsModel::Kind;

ResultsListController::ResultsListController(ScanSession& scans, ResultsModel& rows,
                                             std::function<void(const QStringList&)> reveal,
                                             std::function<void()> whenPaged)
    : scans_(scans)
    , rows_(rows)
    , reveal_(std::move(reveal))
    , whenPaged_(std::move(whenPaged))
{
}

void ResultsListController::press(const QModelIndex& index, RowTarget target)
{
    pressedIndex_ = index;
    pressedTarget_ = target;
}

void ResultsListController::release(const QModelIndex& index, RowTarget target)
{
    const RowTarget pressed = pressedTarget_;
    pressedTarget_ = RowTarget::none;
    if (pressed == RowTarget::none || index != pressedIndex_ || target != pressed) {
        return;
    }
    act(index, pressed);
}

void ResultsListController::act(const QModelIndex& index, RowTarget target)
{
    const ResultsModel::Row& row = rows_.row(index.row());
    switch (target) {
    case RowTarget::box:
        toggle(index);
        break;
    case RowTarget::header:
    case RowTarget::chevron:
        if (const ScanGroup* group = rows_.group(row)) {
            setExpanded(index, !group->isExpanded);
        }
        break;
    case RowTarget::reveal:
        if (const ScanItem* item = rows_.item(row); item && reveal_) {
            reveal_({item->url});
        }
        break;
    case RowTarget::showMore:
        expandOrPage(index);
        break;
    case RowTarget::warning:
    case RowTarget::none:
        break;
    }
}

void ResultsListController::toggle(const QModelIndex& index)
{
    if (!index.isValid()) {
        return;
    }
    const ResultsModel::Row& row = rows_.row(index.row());
    switch (row.kind) {
    case Kind::groupHeader:
        if (const ScanGroup* group = rows_.group(row)) {
            // The toggle reads only the id. A copy of the whole group would
            // share its items with the stored result, which would then have
            // to copy every one of them to write the selection.
            ScanGroup key;
            key.id = group->id;
            scans_.toggleGroup(key, row.category);
        }
        break;
    case Kind::item:
        if (const ScanItem* item = rows_.item(row)) {
            const ScanItem copy = *item;
            scans_.toggleItem(copy, row.category);
        }
        break;
    case Kind::showMore:
        expandOrPage(index);
        break;
    case Kind::sectionHeader:
    case Kind::sectionText:
        break;
    }
}

void ResultsListController::expandOrPage(const QModelIndex& index)
{
    if (!index.isValid()) {
        return;
    }
    const ResultsModel::Row& row = rows_.row(index.row());
    if (row.kind == Kind::showMore) {
        rows_.showMore(row.key);
        if (whenPaged_) {
            whenPaged_();
        }
    } else if (row.kind == Kind::groupHeader) {
        if (const ScanGroup* group = rows_.group(row)) {
            setExpanded(index, !group->isExpanded);
        }
    }
}

void ResultsListController::setExpanded(const QModelIndex& index, bool expanded)
{
    const ResultsModel::Row& row = rows_.row(index.row());
    if (const ScanGroup* group = rows_.group(row)) {
        const ScanGroup copy = *group;
        scans_.setExpanded(expanded, copy, row.category);
    }
}

ResultsListController::KeyOutcome ResultsListController::keyPress(int key, const QModelIndex& current)
{
    switch (key) {
    case Qt::Key_Space:
        toggle(current);
        return {true, std::nullopt};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        expandOrPage(current);
        return {true, std::nullopt};
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (current.isValid()) {
            const ResultsModel::Row& row = rows_.row(current.row());
            const bool right = key == Qt::Key_Right;
            if (row.kind == Kind::groupHeader) {
                if (const ScanGroup* group = rows_.group(row); group && group->isExpanded != right) {
                    setExpanded(current, right);
                }
            } else if (!right && (row.kind == Kind::item || row.kind == Kind::showMore)) {
                const ScanGroup* group = rows_.group(row);
                return {true, rows_.index(rows_.find(Kind::groupHeader, row.category, group ? group->id : QUuid()))};
            }
        }
        return {true, std::nullopt};
    default:
        return {};
    }
}

QModelIndex ResultsListController::moveCursor(Move move, const QModelIndex& current) const
{
    const int count = rows_.rowCount();
    const auto navigable = [&](int row) { return rows_.flags(rows_.index(row)).testFlag(Qt::ItemIsSelectable); };
    const auto step = [&](int from, int direction, int times) {
        int found = -1;
        for (int row = from + direction; row >= 0 && row < count && times > 0; row += direction) {
            if (navigable(row)) {
                found = row;
                --times;
            }
        }
        return found;
    };
    const int from = current.isValid() ? current.row() : -1;
    constexpr int pageRows = 10;
    int target = -1;
    switch (move) {
    case Move::up:
        target = from < 0 ? step(count, -1, 1) : step(from, -1, 1);
        break;
    case Move::down:
        target = step(from, 1, 1);
        break;
    case Move::pageUp:
        target = step(std::max(from, 0), -1, pageRows);
        if (target < 0) {
            target = step(-1, 1, 1);
        }
        break;
    case Move::pageDown:
        target = step(from, 1, pageRows);
        if (target < 0) {
            target = step(count, -1, 1);
        }
        break;
    case Move::home:
        target = step(-1, 1, 1);
        break;
    case Move::end:
        target = step(count, -1, 1);
        break;
    }
    return target < 0 ? current : rows_.index(target);
}

} // namespace harborlite
