#pragma once

#include "engine/models/ScanProgress.h"

#include <QList>

#include <atomic>
#include <functional>
#include <mutex>

namespace harborlite::test {

// Collects every progress value a scan reports, from any thread.
class ProgressRecorder {
public:
    std::function<void(const ScanProgress&)> callback()
    {
        return [this](const ScanProgress& p) {
            std::lock_guard lock(mutex_);
            reports_.append(p);
        };
    }
    QList<ScanProgress> reports() const
    {
        std::lock_guard lock(mutex_);
        return reports_;
    }

private:
    mutable std::mutex mutex_;
    QList<ScanProgress> reports_;
};

// A cancellation predicate that answers false `n` times, then true for good.
class CancelAfter {
public:
    explicit CancelAfter(int n)
        : remaining_(n)
    {
    }
    std::function<bool()> predicate()
    {
        return [this] { return remaining_.fetch_sub(1) <= 0; };
    }
    // Makes the predicate answer true from now on.
    void cancelNow() { remaining_ = 0; }

private:
    std::atomic<int> remaining_;
};

} // namespace harborlite::test
