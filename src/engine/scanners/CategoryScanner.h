#pragma once

#include "engine/models/CategoryResult.h"
#include "engine/models/ScanProgress.h"
#include "engine/scanners/ProgressMeter.h"

#include <functional>
#include <optional>

namespace harborlite {

using ProgressCallback = std::function<void(const ScanProgress&)>;
using CancelPredicate = std::function<bool()>;

// A scanner for one category. scan() runs synchronously on a worker thread,
// reports complete progress values (some from the threads of a measurement
// under way, never two at once), polls isCancelled between units of work and
// returns what it found so far once cancelled; it never fails as a whole.
class CategoryScanner {
public:
    virtual ~CategoryScanner() = default;

    virtual ScanCategory category() const = 0;
    virtual CategoryResult scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const = 0;

    // Sends a progress value; a scan started without a callback reports nothing.
    static void report(const ProgressCallback& progress, const ScanProgress& value);

    // The entries of one folder as items in size order: hidden entries included,
    // entries the safety guard refuses left out, each measured in full (the
    // measurement stops early on cancellation), smaller than minimumSize left out.
    // onProgress gets i / n before entry i, and while entry i is measured a
    // fraction on the way to (i + 1) / n at most once per `reportInterval`
    // (ProgressMeter, from the measurement's threads, one at a time), each
    // time with the entries read so far; a missing or unreadable folder, or a
    // path naming a file, gives an empty list without progress. The folder is
    // resolved once (SafetyGuard::rootUse): one that goes through a link to a
    // place no scan may list gives nothing, and items found through a link are
    // named and judged by their real path, deselected for review outside the home.
    static QList<ScanItem> items(const QString& folder, const std::optional<QString>& origin, qint64 minimumSize,
                                 bool requiresReview, const CancelPredicate& isCancelled,
                                 const std::function<void(double fraction, qint64 entries)>& onProgress = {},
                                 std::chrono::milliseconds reportInterval = ProgressMeter::interval);
};

} // namespace harborlite
