#pragma once

#include <QCoreApplication>
#include <QEventLoop>

#include <functional>

namespace harborlite::test {

// Handles events until `done` holds; workers wake the loop with their results.
inline void waitFor(const std::function<bool()>& done)
{
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

} // namespace harborlite::test
