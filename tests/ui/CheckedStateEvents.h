#pragma once

#include <QAccessible>
#include <QStringList>

#include <utility>

namespace harborlite::test {

// While alive, accessibility is on, as with a screen reader running, and the
// names of the objects that announce a change of their checked state are kept.
class CheckedStateEvents {
public:
    CheckedStateEvents()
        : wasActive_(QAccessible::isActive())
    {
        announced().clear();
        QAccessible::setActive(true);
        previous_ = QAccessible::installUpdateHandler(&record);
    }

    ~CheckedStateEvents()
    {
        QAccessible::installUpdateHandler(previous_);
        QAccessible::setActive(wasActive_);
    }

    CheckedStateEvents(const CheckedStateEvents&) = delete;
    CheckedStateEvents& operator=(const CheckedStateEvents&) = delete;

    // The names announced since the last call, in order.
    QStringList take() { return std::exchange(announced(), {}); }

private:
    static QStringList& announced()
    {
        static QStringList names;
        return names;
    }

    static void record(QAccessibleEvent* event)
    {
        if (event->type() != QAccessible::StateChanged
            || !static_cast<QAccessibleStateChangeEvent*>(event)->changedStates().checked) {
            return;
        }
        if (QAccessibleInterface* face = event->accessibleInterface()) {
            announced().append(face->text(QAccessible::Name));
        }
    }

    bool wasActive_;
    QAccessible::UpdateHandler previous_ = nullptr;
};

} // namespace harborlite::test
