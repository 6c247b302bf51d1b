#pragma once

#include "engine/models/ScanCategory.h"

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

    bool operator==(const CategoryTotals&) const = default;
};

CategoryTotals categoryTotals(const ReviewState& state, std::span<const ScanCategory> categories);

} // namespace harborlite
