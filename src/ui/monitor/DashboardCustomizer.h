#pragma once

#include "ui/components/GlassPanel.h"

#include <array>

namespace harborlite {

class CustomizerRow;
class GlassCompatButton;
class MonitorSettings;

// The dashboard's customiser: "Dashboard widgets" with "Restore Defaults",
// then a row for every monitor kind in their own order, whatever the
// dashboard holds. A row's switch adds its kind at the dashboard's end or
// takes it off; its arrows swap it with its neighbour. Every change is stored
// at once.
class DashboardCustomizer : public GlassPanel {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 22;

    explicit DashboardCustomizer(MonitorSettings& settings, QWidget* parent = nullptr);

    GlassCompatButton* restoreButton() const { return restore_; }
    const std::array<CustomizerRow*, 7>& rows() const { return rows_; }

    // Shows the stored dashboard.
    void refresh();

private:
    MonitorSettings& settings_;
    GlassCompatButton* restore_;
    std::array<CustomizerRow*, 7> rows_{};
};

} // namespace harborlite
