#pragma once

#include "model/Route.h"
#include "platform/ToolTable.h"
#include "ui/components/CoalescedRefresh.h"
#include "ui/components/ScreenServices.h"
#include "ui/shell/BannerView.h"
#include "ui/updates/UpdateSheet.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QSplitter;
class QVBoxLayout;

namespace harborlite {

class AppModel;
class AuroraBackground;
class FullDiskAccessCard;
class Sidebar;
class TopStatsBar;
class UpdateBanner;
class WindowCanvas;

// The whole content of the main window: the sidebar beside the detail column
// (top bar, update banner and access card when they apply, then the screen of
// the current route) over the aurora and the window canvas, the update sheet
// while the model asks for it and the transient banner over everything.
// Everything follows the model; the screen is made anew only when the route
// changes, and the route is stored whenever it does.
class RootView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDetailMinimumWidth = 760;
    static constexpr int kDetailMinimumHeight = 560;
    static constexpr int kColumnInset = 26;
    static constexpr int kBannerTop = 12;

    struct Setup {
        ScreenServices services = ScreenServices::real();
        // The programs the access card opens addresses with.
        platform::ToolTable tools;
        BannerView::Wait bannerWait = BannerView::sixSeconds();
    };

    explicit RootView(AppModel& model, QWidget* parent = nullptr);
    RootView(AppModel& model, Setup setup, QWidget* parent = nullptr);
    ~RootView() override;

    Sidebar* sidebar() const { return sidebar_; }
    TopStatsBar* topBar() const { return topBar_; }
    QWidget* detailColumn() const { return detail_; }
    QWidget* screen() const { return screen_; }
    UpdateBanner* updateBanner() const { return updateBanner_; }
    FullDiskAccessCard* accessCard() const { return accessCard_; }
    UpdateSheet* updateSheet() const { return sheet_; }
    BannerView* bannerView() const { return banner_; }

    // Applies the model's state now instead of at the next turn of the event loop.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void scheduleRefresh();
    void routeChanged();
    void refreshTopBar();
    void refreshUpdateBanner();
    void refreshAccessCard();
    void refreshScreen();
    void refreshSheet();
    void refreshBanner();
    void placeBanner();
    void removeBanner();
    // Opens or closes the update banner's place in the column, fading the
    // banner with it; at once when nothing is on screen or motion is reduced.
    void moveUpdateSlot(bool opening);

    AppModel& model_;
    Setup setup_;
    Route persistedRoute_;
    CoalescedRefresh refresher_{this, [this] { refresh(); }};
    bool started_ = false;
    WindowCanvas* canvas_;
    AuroraBackground* aurora_;
    QSplitter* split_;
    Sidebar* sidebar_;
    QWidget* detail_;
    QVBoxLayout* detailLayout_;
    TopStatsBar* topBar_;
    QWidget* updateSlot_;
    QWidget* accessSlot_;
    UpdateBanner* updateBanner_ = nullptr;
    QPointer<UpdateBanner> leavingUpdate_;
    FullDiskAccessCard* accessCard_ = nullptr;
    QWidget* screen_ = nullptr;
    std::optional<Route> screenRoute_;
    QPointer<UpdateSheet> sheet_;
    BannerView* banner_ = nullptr;
};

} // namespace harborlite
