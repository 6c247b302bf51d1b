#pragma once

#include "engine/models/MaintenanceTask.h"
#include "ui/components/GlassPanel.h"
#include "ui/maintenance/MaintenancePresentation.h"

#include <functional>

namespace harborlite {

class ClampedLabel;
class GlassCompatButton;
class RoleLabel;
class SymbolView;

// One maintenance task on a glass card: its symbol on a mint disc, title and
// estimate, "Not on this macOS" without its tool (the card's help text names
// the tool), the lock of an administrator task, the wrapping detail, the
// snapshot line, the newest outcome (two lines at most) and the Run button
// across the card.
class MaintenanceCard : public GlassPanel {
    Q_OBJECT

public:
    static constexpr qreal kCornerRadius = 20;
    static constexpr int kPadding = 16;
    static constexpr int kSpacing = 10;
    static constexpr int kRowSpacing = 6;
    static constexpr int kDiscSide = 30;

    // `action` runs when Run is pressed.
    MaintenanceCard(MaintenanceTask task, std::function<void()> action, QWidget* parent = nullptr);

    const MaintenanceTask& task() const { return task_; }
    void setLook(const MaintenancePresentation::CardLook& look);
    const MaintenancePresentation::CardLook& look() const { return look_; }

    GlassCompatButton* runButton() const { return run_; }

private:
    MaintenanceTask task_;
    std::function<void()> action_;
    MaintenancePresentation::CardLook look_;
    RoleLabel* marker_;
    SymbolView* lock_;
    QWidget* reclaimableRow_;
    RoleLabel* reclaimable_;
    QWidget* outcomeRow_;
    SymbolView* successSymbol_;
    SymbolView* errorSymbol_;
    SymbolView* nothingSymbol_;
    ClampedLabel* outcome_;
    GlassCompatButton* run_;
};

} // namespace harborlite
