#pragma once

#include "engine/models/RemovalMode.h"

#include "ui/components/PopUpPicker.h"

namespace harborlite {

class ScanSession;

// The pop-up that chooses how cleanups remove: the kit's glass pop-up button
// with the three modes in their order, each by its title, 158 wide, bound
// both ways to the scan session's cleanupMode (a change made anywhere shows here at
// once).
class RemovalModePicker : public PopUpPicker {
    Q_OBJECT

public:
    static constexpr int kWidth = 158;

    // "Move to Trash", "Delete permanently", "Shred securely": also the detail
    // line of the action bars that remove in that mode.
    static QString title(RemovalMode mode);

    explicit RemovalModePicker(ScanSession& scans, QWidget* parent = nullptr);

    RemovalMode mode() const;

private:
    void showModelMode();

    ScanSession& scans_;
};

} // namespace harborlite
