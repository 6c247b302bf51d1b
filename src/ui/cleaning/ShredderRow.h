#pragma once

#include "engine/models/ScanItem.h"
#include "ui/components/InnerCard.h"
#include "ui/components/ScreenServices.h"

#include <functional>

namespace harborlite {

class PlainSymbolButton;
class RoleLabel;

// One target of the Shredder: its icon, name and folder, its size and a
// button that takes it off the list.
class ShredderRow : public InnerCard {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 11;
    static constexpr int kIconSide = 18;

    ShredderRow(const ScanItem& item, std::function<void()> remove, const ScreenServices& services,
                QWidget* parent = nullptr);

    const ScanItem& item() const { return item_; }
    RoleLabel* sizeLabel() const { return size_; }
    PlainSymbolButton* removeButton() const { return remove_; }

private:
    ScanItem item_;
    RoleLabel* size_;
    PlainSymbolButton* remove_;
};

} // namespace harborlite
