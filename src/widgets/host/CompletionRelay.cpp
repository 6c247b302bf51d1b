#include "widgets/host/CompletionRelay.h"

#include "shared/ThreadHandOff.h"

#include <QMetaObject>

#include <utility>

namespace harborlite {

CompletionRelay::CompletionRelay(QObject* target)
    : target_(target)
{
}

void CompletionRelay::begin()
{
    std::lock_guard lock(mutex_);
    ++outstanding_;
}

void CompletionRelay::finish(std::function<void()> work)
{
    {
        std::lock_guard lock(mutex_);
        // Posting under the lock: close() cannot let the target go in between.
        if (target_ != nullptr) {
            // Carried, so that the thread sanitizer sees the hand-off through Qt's queue.
            auto carried = ThreadHandOff::carry(std::move(work));
            const ThreadHandOff::InsideQt postingIsQtsOwnBookkeeping;
            QMetaObject::invokeMethod(target_, std::move(carried), Qt::QueuedConnection);
        }
        --outstanding_;
    }
    answered_.notify_all();
}

void CompletionRelay::close()
{
    std::lock_guard lock(mutex_);
    target_ = nullptr;
}

int CompletionRelay::outstanding() const
{
    std::lock_guard lock(mutex_);
    return outstanding_;
}

bool CompletionRelay::waitForOutstanding(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return answered_.wait_for(lock, timeout, [this] { return outstanding_ <= 0; });
}

} // namespace harborlite
