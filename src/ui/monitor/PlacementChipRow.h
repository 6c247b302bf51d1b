#pragma once

#include "model/MonitorSettings.h"
#include "shared/MonitorKind.h"

#include <QWidget>

#include <array>

namespace harborlite {

class CapsuleChip;

// One place's monitors as chips: the heading (title and a caption), then a
// chip for each kind the place can show (every kind but processes, in their
// order, whatever the list's order). A chip is selected while its kind is in
// the list; a click switches the kind in or out of the list at once, appended
// at its end when it comes in.
class PlacementChipRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kChipCount = 6;

    // The offered kinds, in chip order.
    static std::array<MonitorKind, kChipCount> offeredKinds();

    PlacementChipRow(const QString& title, const QString& caption, MonitorSettings::List list,
                     MonitorSettings& settings, QWidget* parent = nullptr);

    MonitorSettings::List list() const { return list_; }
    const std::array<CapsuleChip*, kChipCount>& chips() const { return chips_; }

    // Shows the stored list.
    void refresh();

private:
    MonitorSettings& settings_;
    MonitorSettings::List list_;
    std::array<CapsuleChip*, kChipCount> chips_{};
};

} // namespace harborlite
