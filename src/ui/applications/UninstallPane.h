#pragma once

#include "engine/models/InstalledApp.h"
#include "engine/models/UninstallPlan.h"
#include "ui/components/ScreenServices.h"

#include <QUuid>
#include <QWidget>

#include <optional>

class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace harborlite {

class AppIconCache;
class GlassPanel;
class ItemRow;
class PrimaryActionBar;
class RoleLabel;

// The right-hand pane of the Applications screen for the selected
// application: its header card, then while a plan is worked out a planning
// row, else the plan's "Leftover files" card and, when the plan has any, the
// "Installed system-wide" card, and the action bar. The pane keeps no state:
// it shows what the screen hands it and reports the user's toggles and the
// Uninstall click.
class UninstallPane : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSpacing = 14;
    static constexpr qreal kCardRadius = 20;
    static constexpr int kCardPadding = 15;
    static constexpr int kHeaderIconSide = 52;
    static constexpr int kLeftoversMaxHeight = 300;

    UninstallPane(const ScreenServices& services, AppIconCache& icons, QWidget* parent = nullptr);

    // Shows the application with the plan (none while planning or before a
    // plan), and whether it is protected, planning or being removed.
    void present(const InstalledApp& app, const std::optional<UninstallPlan>& plan, bool isProtected, bool isPlanning,
                 bool isRemoving);

    RoleLabel* nameLabel() const { return name_; }
    RoleLabel* detailLabel() const { return detail_; }
    QWidget* pills() const { return pills_; }
    QWidget* planningRow() const { return planning_; }
    GlassPanel* leftoversCard() const { return leftoversCard_; }
    GlassPanel* residueCard() const { return residueCard_; }
    PrimaryActionBar* actionBar() const { return bar_; }
    QList<ItemRow*> leftoverRows() const;
    QList<ItemRow*> residueRows() const;
    RoleLabel* leftoversTotal() const { return leftoversTotal_; }
    RoleLabel* leftoversEmpty() const { return leftoversEmpty_; }
    RoleLabel* residueTotal() const { return residueTotal_; }
    RoleLabel* receiptLine() const { return receiptLine_; }

signals:
    void leftoverToggled(const QUuid& id);
    void residueToggled(const QUuid& id);
    void uninstallRequested();

private:
    void showHeader(const InstalledApp& app, bool isProtected);
    void showPlan(const UninstallPlan& plan);
    void refreshIcon();

    ScreenServices services_;
    AppIconCache& icons_;
    std::optional<InstalledApp> app_;
    QList<QUuid> leftoverIds_;
    QList<QUuid> residueIds_;

    QLabel* icon_;
    RoleLabel* name_;
    RoleLabel* detail_;
    QWidget* pills_;
    QWidget* planning_;
    GlassPanel* leftoversCard_;
    RoleLabel* leftoversTotal_;
    RoleLabel* leftoversEmpty_;
    QScrollArea* leftoversScroll_;
    QVBoxLayout* leftoversRows_;
    GlassPanel* residueCard_;
    RoleLabel* residueTotal_;
    QVBoxLayout* residueRows_;
    RoleLabel* receiptLine_;
    QVBoxLayout* barSlot_;
    PrimaryActionBar* bar_ = nullptr;
};

} // namespace harborlite
