#pragma once

#include "ui/components/ActionBarLook.h"
#include "ui/components/CoalescedRefresh.h"
#include "ui/components/ScreenFrame.h"

#include <QWidget>

#include <functional>
#include <optional>

namespace harborlite {

class MonitorFeed;
class PrimaryActionBar;
class ScanSession;

// What every cleaning screen shares: the scrolling column of the screen frame,
// the action bar at its foot, and one refresh per turn of the event loop after
// any change of what the screens read (a cleanup changes several values in a
// row; the screen redraws once).
class ReviewScreen : public QWidget {
    Q_OBJECT

public:
    ScreenFrame* frame() const { return frame_; }
    // The bar at the foot of the screen; none while the screen has nothing to act on.
    PrimaryActionBar* actionBar() const;

protected:
    ReviewScreen(ScanSession& scans, MonitorFeed& feed, ScreenFrameMetrics metrics, QWidget* parent);

    ScanSession& scans() const { return scans_; }
    MonitorFeed& feed() const { return feed_; }
    // Brings the widgets in line with the model; called once at the end of
    // the screen's construction and then after changes.
    virtual void refresh() = 0;
    // Asks for refresh() on the next turn of the event loop.
    void scheduleRefresh();
    // Shows, updates or removes the bar; `action` runs on its button.
    void showActionBar(const std::optional<ActionBarLook>& look, const std::function<void()>& action);

private:
    ScanSession& scans_;
    MonitorFeed& feed_;
    ScreenFrame* frame_;
    CoalescedRefresh refresher_{this, [this] { refresh(); }};
};

} // namespace harborlite
