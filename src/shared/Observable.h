#pragma once

#include <QObject>
#include <QThread>

#include <utility>

namespace harborlite {

// Base of the model objects that screens watch. Every published assignment,
// also one that stores an equal value, emits objectWillChange() while the old
// value is still in place and didChange() once the new one is. Model objects
// live on the GUI thread and are only changed there.
class Observable : public QObject {
    Q_OBJECT

public:
    explicit Observable(QObject* parent = nullptr);

signals:
    void objectWillChange();
    void didChange();

protected:
    // Announces, assigns, runs `afterAssign` (e.g. a save that must see the new
    // value) and announces again.
    template <typename T, typename V, typename AfterAssign>
    void publish(T& field, V&& value, AfterAssign&& afterAssign)
    {
        Q_ASSERT(QThread::currentThread() == thread());
        emit objectWillChange();
        field = std::forward<V>(value);
        std::forward<AfterAssign>(afterAssign)();
        emit didChange();
    }

    template <typename T, typename V>
    void publish(T& field, V&& value)
    {
        publish(field, std::forward<V>(value), [] {});
    }

    // Announces, runs `edit` (which changes values in place) and announces
    // again; for edits too small to copy a whole value for.
    template <typename Edit>
    void change(Edit&& edit)
    {
        Q_ASSERT(QThread::currentThread() == thread());
        emit objectWillChange();
        std::forward<Edit>(edit)();
        emit didChange();
    }

    // Publishes, then emits the value's own change signal.
    template <typename Self, typename T, typename V>
    void assign(T& field, V&& value, void (Self::*changed)())
    {
        publish(field, std::forward<V>(value));
        emit(static_cast<Self*>(this)->*changed)();
    }
};

} // namespace harborlite
