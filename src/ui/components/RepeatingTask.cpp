#include "ui/components/RepeatingTask.h"

#include <algorithm>
#include <utility>

namespace harborlite {

RepeatingTask::RepeatingTask(Body body, Pause pauseMilliseconds, QObject* parent)
    : QObject(parent)
    , body_(std::move(body))
    , pause_(std::move(pauseMilliseconds))
{
    timer_.setSingleShot(true);
    // Coarse timers let the system batch wake-ups; a loop of seconds needs no more.
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &RepeatingTask::tick);
}

void RepeatingTask::start()
{
    if (running_) {
        return;
    }
    running_ = true;
    tick();
}

void RepeatingTask::stop()
{
    running_ = false;
    timer_.stop();
}

void RepeatingTask::tick()
{
    body_();
    // The body may have stopped the loop.
    if (running_) {
        timer_.start(std::max(0, pause_()));
    }
}

} // namespace harborlite
