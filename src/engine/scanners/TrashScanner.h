#pragma once

#include "engine/scanners/CategoryScanner.h"

namespace harborlite {

// Lists what the user already moved to the Trash: the home Trash (group
// "Trash", origin "Home") and the user's Trash on every mounted volume (group
// "Volume Trash", origin the volume's name, volumes in name order and each
// volume's items largest first). Every item starts selected; nothing is opt-in.
class TrashScanner : public CategoryScanner {
public:
    ScanCategory category() const override { return ScanCategory::trash; }
    CategoryResult scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const override;
};

} // namespace harborlite
