#pragma once

#include "model/ScanSession.h"

namespace harborlite {

class MonitorFeed;

// What the cleaning screens read of the model, taken at one moment, so that
// what they show is worked out from plain values (and tested without a model).
struct ReviewState {
    ScanSession::Results results;
    ScanSession::ProgressTable progress;
    ScanSession::Categories running;
    bool isCleaning = false;
    RemovalMode mode = RemovalMode::trash;
    qint64 diskFree = 0;

    // The session's values and the free space of the feed's latest sample.
    static ReviewState of(const ScanSession& scans, const MonitorFeed& feed);

    // The category's result; null when it was never scanned or was cleaned.
    const CategoryResult* result(ScanCategory category) const;
    bool isRunning(ScanCategory category) const { return running.contains(category); }
};

} // namespace harborlite
