#pragma once

#include "engine/models/ScanCategory.h"
#include "model/Route.h"
#include "ui/cleaning/SmartScanPresentation.h"
#include "ui/components/CoalescedRefresh.h"

#include <QWidget>

#include <array>
#include <functional>
#include <map>

namespace harborlite {

class BrandMark;
class CategorySummaryCard;
class GlassCompatButton;
class MonitorFeed;
class PrimaryActionBar;
class ProgressRing;
class RoleLabel;
class ScanSession;
class ScreenFrame;
class StatTile;
struct ScreenServices;

// The Smart Scan destination: one page with the dial that runs the smart scan
// over its eight categories, a card per category that leads to the screen
// reviewing it, three live readings and a bar that cleans what is selected in
// all eight at once. Everything shown is read from the scan session and the
// monitor feed; the scan and the cleanup belong to the session and go on when
// the screen is left. `open` shows another destination (the cards' screens).
class SmartScanView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaxColumnWidth = 900;
    static constexpr int kColumnSpacing = 22;
    static constexpr int kPadding = 26;
    static constexpr int kRingSide = 220;
    static constexpr qreal kRingLineWidth = 18;
    static constexpr int kCardMinColumn = 250;
    static constexpr int kGridSpacing = 12;

    SmartScanView(ScanSession& scans, MonitorFeed& feed, std::function<void(Route)> open,
                  const ScreenServices& services, QWidget* parent = nullptr);

    // What the screen shows now (as of its last refresh).
    const SmartScanPresentation& presentation() const { return shown_; }
    // The clean bar at the foot of the screen; none while nothing was scanned.
    PrimaryActionBar* actionBar() const;

private:
    void scheduleRefresh();
    void refresh();
    void applyCenter(const DialCenter& center);
    void pressPrimary();
    QWidget* buildDial();
    QWidget* buildGrid();
    QWidget* buildStrip();

    ScanSession& scans_;
    MonitorFeed& feed_;
    std::function<void(Route)> open_;
    SmartScanPresentation shown_;
    CoalescedRefresh refresher_{this, [this] { refresh(); }};

    ScreenFrame* frame_ = nullptr;
    ProgressRing* ring_ = nullptr;
    BrandMark* brandMark_ = nullptr;
    RoleLabel* firstLine_ = nullptr;
    RoleLabel* secondLine_ = nullptr;
    QWidget* secondLineGap_ = nullptr;
    GlassCompatButton* primary_ = nullptr;
    GlassCompatButton* review_ = nullptr;
    RoleLabel* lastScan_ = nullptr;
    QWidget* grid_ = nullptr;
    std::map<ScanCategory, CategorySummaryCard*> cards_;
    std::array<StatTile*, 3> tiles_{};
};

} // namespace harborlite
