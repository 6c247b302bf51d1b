#include "engine/scanners/ProgressMeter.h"

#include "engine/scanners/ScanSteps.h"
#include "platform/SteadyClock.h"

#include <QCoreApplication>

namespace harborlite {

namespace {

// Entries after which a step shows half its way: a small folder moves the bar
// visibly, a very large one still never reaches the step's end.
constexpr double halfWayEntries = 1000;

auto ticksNow()
{
    return platform::steadyClock().get().time_since_epoch().count();
}

} // namespace

ProgressMeter::ProgressMeter(std::function<bool()> isCancelled, Send send, std::chrono::milliseconds every)
    : isCancelled_(std::move(isCancelled))
    , send_(std::move(send))
    , test_([this] { return countEntry(); })
    , every_(std::chrono::duration_cast<std::chrono::steady_clock::duration>(every).count())
{
}

void ProgressMeter::step(double from, double to)
{
    from_ = from;
    to_ = to;
    stepEntries_ = 0;
    due_ = ticksNow() + every_;
    if (send_) {
        send_(from_, entries_);
    }
}

QString ProgressMeter::withEntries(const QString& message, qint64 entries)
{
    // Kept short: the dial's one line has room for little more than the message.
    return entries <= 0
        ? message
        : QCoreApplication::translate("ProgressMeter", "%1 (%2)").arg(message, QString::number(entries));
}

bool ProgressMeter::countEntry()
{
    entries_.fetch_add(1, std::memory_order_relaxed);
    stepEntries_.fetch_add(1, std::memory_order_relaxed);
    if (send_ && ticksNow() >= due_.load(std::memory_order_relaxed)) {
        const std::unique_lock lock(sending_, std::try_to_lock);
        const Ticks now = ticksNow();
        if (lock.owns_lock() && now >= due_.load(std::memory_order_relaxed)) {
            due_.store(now + every_, std::memory_order_relaxed);
            const double read = double(stepEntries_.load(std::memory_order_relaxed));
            send_(from_ + (to_ - from_) * read / (read + halfWayEntries), entries_.load(std::memory_order_relaxed));
        }
    }
    return ScanSteps::cancelled(isCancelled_);
}

} // namespace harborlite
