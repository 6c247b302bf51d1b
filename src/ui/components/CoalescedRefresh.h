#pragma once

#include <QObject>

#include <functional>

namespace harborlite {

// Runs a view's refresh once on the next turn of the event loop, however often
// it is asked in this one: model operations set several values in a row, and
// the view should draw the end state once. Lives as a member of the view it
// refreshes, which is also the queued call's context.
class CoalescedRefresh {
public:
    CoalescedRefresh(QObject* owner, std::function<void()> refresh);

    // Queues the refresh unless one is queued already.
    void request();
    // Drops the queued refresh: the view has just refreshed by itself.
    void settle() { pending_ = false; }
    bool isPending() const { return pending_; }

private:
    QObject* owner_;
    std::function<void()> refresh_;
    bool pending_ = false;
};

} // namespace harborlite
