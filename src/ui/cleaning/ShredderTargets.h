#pragma once

#include "engine/models/ScanItem.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

namespace harborlite {

// The Shredder's list of targets. A location is first pending while its size
// is measured (off the GUI thread), then listed; listed targets keep the
// order in which they were added, whichever measurement ends first. One
// location is one target, listed or pending: "/a/b" and "/a/b/" are the same
// location. A run takes the listed targets; only those leave the list when
// the run ends, so what is added meanwhile stays for the next one.
class ShredderTargets {
public:
    // What measuring found; none when the location no longer exists.
    struct Measurement {
        qint64 size = 0;
        std::optional<QDateTime> modified;
    };

    // The path the list compares and shreds: repeated and trailing slashes
    // dropped, nothing resolved (a link stays the link, ".." stays for the
    // removal engine to refuse).
    static QString normalized(const QString& path);

    // Takes the locations in order, skipping relative paths and those already
    // listed or pending (a location repeated in the batch counts once), and
    // returns the ones to measure.
    QStringList add(const QStringList& paths);

    // The measurement of a pending location arrived: it becomes a listed
    // target in its place in the order, or goes when it no longer exists.
    // A location no longer pending (removed meanwhile) is ignored.
    void measured(const QString& path, const std::optional<Measurement>& measurement);

    // The listed targets, in the order they were added.
    QList<ScanItem> listed() const;
    qsizetype pendingCount() const;
    bool isEmpty() const { return entries_.isEmpty(); }
    qint64 totalSize() const;

    // Removes the listed target with that identifier.
    void remove(const QUuid& id);
    // Removes the listed targets with these identifiers (those of a finished run).
    void removeAll(const QSet<QUuid>& ids);

private:
    struct Entry {
        QString path;
        std::optional<ScanItem> item;
    };

    QList<Entry> entries_;
};

} // namespace harborlite
