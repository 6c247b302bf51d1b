#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace harborlite::test {

// Handles events until `done` holds. Workers wake the loop with their results;
// a condition that a worker makes true without posting anything would leave
// the loop asleep for good, so a timer wakes it now and then to look again.
inline void waitFor(const std::function<bool()>& done)
{
    QTimer wake;
    wake.start(20);
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

} // namespace harborlite::test
