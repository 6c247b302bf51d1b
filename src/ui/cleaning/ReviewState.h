#pragma once

#include "model/AppModel.h"

namespace harborlite {

// What the cleaning screens read of the model, taken at one moment, so that
// what they show is worked out from plain values (and tested without a model).
struct ReviewState {
    AppModel::Results results;
    AppModel::ProgressTable progress;
    AppModel::Categories running;
    bool isCleaning = false;
    Remover::Mode mode = Remover::Mode::trash;
    qint64 diskFree = 0;

    static ReviewState of(const AppModel& model);

    // The category's result; null when it was never scanned or was cleaned.
    const CategoryResult* result(ScanCategory category) const;
    bool isRunning(ScanCategory category) const { return running.contains(category); }
};

} // namespace harborlite
