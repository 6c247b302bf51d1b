#pragma once

#include <atomic>

namespace harborlite {

// The stop request of one run. The GUI thread sets it; the run's worker polls
// it between items. A flag is never cleared: a new run gets a new flag, so a
// stopped run cannot be revived by a later start.
class CancellationFlag {
public:
    void set() { set_.store(true, std::memory_order_release); }
    bool isSet() const { return set_.load(std::memory_order_acquire); }

private:
    std::atomic<bool> set_{false};
};

} // namespace harborlite
