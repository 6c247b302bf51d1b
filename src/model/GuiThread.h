#pragma once

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
// Calls still queued when the application object goes are dropped.
template <typename Call>
void post(Call&& call)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::forward<Call>(call), Qt::QueuedConnection);
}

} // namespace harborlite::GuiThread
