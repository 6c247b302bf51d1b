#pragma once

#include "shared/ThreadHandOff.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <utility>

namespace harborlite::GuiThread {

// Whether the caller runs on the thread of the application object.
inline bool isCurrent()
{
    const QCoreApplication* application = QCoreApplication::instance();
    return application != nullptr && QThread::currentThread() == application->thread();
}

// Queues `call` to run on the GUI thread from any thread. The application
// object is the target because it outlives every model object; callers guard
// their own receivers (a QPointer made on the GUI thread) inside `call`.
// Calls still queued when the application object goes are dropped. The call
// is carried so that the thread sanitizer sees the hand-off through Qt's queue.
template <typename Call>
void post(Call&& call)
{
    auto carried = ThreadHandOff::carry(std::forward<Call>(call));
    const ThreadHandOff::InsideQt postingIsQtsOwnBookkeeping;
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(carried), Qt::QueuedConnection);
}

} // namespace harborlite::GuiThread
