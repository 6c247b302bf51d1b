#pragma once

#include "shared/SystemSnapshot.h"

#include <QString>

// The shares and texts both widgets compute from a sample.
namespace harborlite::SnapshotFigures {

// memoryUsed / memoryTotal when the total is at least 1, else 0. Not clamped.
double memoryFraction(const SystemSnapshot& snapshot);
// max(0, diskTotal − diskFree) / diskTotal when the total is at least 1, else 0.
double usedStorageFraction(const SystemSnapshot& snapshot);

// The shared percent text ("0%" when there is none).
QString percentText(double fraction);
// The shared byte text of a count of at least 1; "0 KB" for 0 or less.
QString byteText(qint64 count);
// The compact byte text ("161G"; "0" for 0 or less).
QString compactText(qint64 count);

} // namespace harborlite::SnapshotFigures
