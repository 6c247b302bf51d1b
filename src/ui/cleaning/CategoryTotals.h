#pragma once

#include "engine/models/CategoryResult.h"
#include "engine/models/RemovalMode.h"
#include "engine/models/ScanCategory.h"

#include <QString>

#include <QtGlobal>

#include <span>

namespace harborlite {

struct ReviewState;

// The sums a screen over several categories shows, over the categories it
// lists; a category without a result adds nothing.
struct CategoryTotals {
    // Bytes of the selected items.
    qint64 selected = 0;
    // Bytes of every item, selected or not.
    qint64 found = 0;
    // One of the categories has a result, an empty one included.
    bool hasAnyResult = false;
    // One of the categories is scanning.
    bool isBusy = false;
    // Items already in a Trash are selected.
    bool selectsTrashedItems = false;

    bool operator==(const CategoryTotals&) const = default;
};

CategoryTotals categoryTotals(const ReviewState& state, std::span<const ScanCategory> categories);

// One result's sums, as categoryTotals() adds them up. A result selects
// trashed items when it is the Trash scan's (what lies in a Trash already)
// with items selected: removing them deletes them for good, whatever the mode.
struct ResultSums {
    qint64 found = 0;
    qint64 selected = 0;
    bool selectsTrashedItems = false;
};

ResultSums resultSums(const CategoryResult& result);

// The removal line of an action bar, with "Items already in the Trash are
// deleted for good." after `separator` when Trash mode would otherwise let
// the user think every selected item can be put back.
QString removalDetail(const QString& detail, const QString& separator, RemovalMode mode, bool selectsTrashedItems);

} // namespace harborlite
