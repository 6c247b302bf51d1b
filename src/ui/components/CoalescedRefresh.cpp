#include "ui/components/CoalescedRefresh.h"

#include <QMetaObject>

#include <utility>

namespace harborlite {

CoalescedRefresh::CoalescedRefresh(QObject* owner, std::function<void()> refresh)
    : owner_(owner)
    , refresh_(std::move(refresh))
{
}

void CoalescedRefresh::request()
{
    if (pending_) {
        return;
    }
    pending_ = true;
    QMetaObject::invokeMethod(
        owner_,
        [this] {
            if (!pending_) {
                return;
            }
            pending_ = false;
            refresh_();
        },
        Qt::QueuedConnection);
}

} // namespace harborlite
