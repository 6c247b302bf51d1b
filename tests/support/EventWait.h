#pragma once

#include "shared/ThreadHandOff.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <functional>
#include <source_location>
#include <stdexcept>
#include <string>

namespace harborlite::test {

// How long a wait may last before it counts as hung. Far beyond any wait a
// sanitized build on a busy machine needs: it only turns a hang into a failure
// that names the wait, well before the test's own time limit ends the process.
inline constexpr std::chrono::seconds kWaitLimit{120};
// The same for Qt's waits that take milliseconds.
inline constexpr int kWaitLimitMilliseconds = static_cast<int>(std::chrono::milliseconds(kWaitLimit).count());

// Called from a worker once its result is in place: wakes the GUI thread's
// waitFor() at once rather than at its next timer. The empty call is carried
// through Qt's queue like any hand-off of ours, so the thread sanitizer does not
// read Qt's own slot object as shared between the two threads.
inline void wakeWaiters()
{
    auto carried = ThreadHandOff::carry([] {});
    const ThreadHandOff::InsideQt postingIsQtsOwnBookkeeping;
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(carried), Qt::QueuedConnection);
}

// Handles events until `done` holds. Workers wake the loop with their results;
// a condition that a worker makes true without posting anything would leave
// the loop asleep for good, so a timer wakes it now and then to look again.
// A wait that outlasts kWaitLimit throws, ending the test with a failure that
// names the file and line of the wait.
inline void waitFor(const std::function<bool()>& done,
                    const std::source_location where = std::source_location::current())
{
    QTimer wake;
    wake.start(20);
    const QDeadlineTimer deadline(kWaitLimit);
    while (!done()) {
        if (deadline.hasExpired()) {
            throw std::runtime_error("the wait at " + std::string(where.file_name()) + ":"
                                     + std::to_string(where.line()) + " was still unmet after "
                                     + std::to_string(kWaitLimit.count()) + " s");
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

} // namespace harborlite::test
