#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>

namespace harborlite {

// Keeps a step's progress moving while one measurement reads a large tree (a
// cache folder of a hundred thousand files reports nothing for seconds): the
// cancellation test handed to the measurement counts every entry it reads, and
// at most once per interval passes on the count and a fraction a little
// further into the step, which approaches the step's end without reaching it.
// The throttle keeps the reports few whatever the tree; the clock is the
// steadyClock seam. The measurement's threads may all call the test; one of
// them sends at a time.
class ProgressMeter {
public:
    // Gets a fraction within the steps' range and the entries read since the
    // meter was made.
    using Send = std::function<void(double fraction, qint64 entries)>;

    // Well under the quarter second after which a still figure looks hung.
    static constexpr std::chrono::milliseconds interval{100};

    ProgressMeter(std::function<bool()> isCancelled, Send send, std::chrono::milliseconds every = interval);
    ProgressMeter(const ProgressMeter&) = delete;
    ProgressMeter& operator=(const ProgressMeter&) = delete;

    // Starts the step from `from` to `to` and reports `from` at once. Called
    // between measurements, never during one.
    void step(double from, double to);

    // The test to hand to the step's measurement: it answers the scan's
    // cancellation test.
    const std::function<bool()>& test() const { return test_; }

    // The step's message with the entries read after it in parentheses, once
    // there are any.
    static QString withEntries(const QString& message, qint64 entries);

private:
    using Ticks = std::chrono::steady_clock::duration::rep;

    bool countEntry();

    std::function<bool()> isCancelled_;
    Send send_;
    std::function<bool()> test_;
    double from_ = 0;
    double to_ = 0;
    std::chrono::steady_clock::duration::rep every_;
    std::atomic<qint64> entries_ = 0;
    std::atomic<qint64> stepEntries_ = 0;
    // When the next report is due, in the clock's ticks; sending holds the mutex.
    std::atomic<Ticks> due_ = 0;
    std::mutex sending_;
};

} // namespace harborlite
