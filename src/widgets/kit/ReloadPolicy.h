#pragma once

#include <QDateTime>

namespace harborlite {

// When the host asks a widget's provider for its next timeline.
struct ReloadPolicy {
    enum class Kind {
        // Once the last entry's date has passed.
        atEnd,
        // At `date`.
        after,
        // Not on the timeline's own account.
        never,
    };

    Kind kind = Kind::atEnd;
    // The reload date of `after`; unused otherwise.
    QDateTime date;

    static ReloadPolicy atEnd() { return {Kind::atEnd, {}}; }
    static ReloadPolicy after(const QDateTime& date) { return {Kind::after, date}; }
    static ReloadPolicy never() { return {Kind::never, {}}; }

    bool operator==(const ReloadPolicy&) const = default;
};

} // namespace harborlite
