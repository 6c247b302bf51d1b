#pragma once

#include "engine/models/ScanGroup.h"
#include "engine/scanners/CategoryScanner.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// The steps the category scanners share: asking about cancellation, mapping a
// step's own progress into the scan's band, resolving roots, building items
// and groups, and reading file names.
namespace harborlite::ScanSteps {

// Whether the scan was asked to stop; a missing predicate never asks.
bool cancelled(const CancelPredicate& isCancelled);

// The fraction held to 0...1.
double clamped(double fraction);

// The safety guard's answer for a candidate the user did not pick.
bool isAllowed(const QString& location);

// One of a scanner's roots as it may be listed or walked, resolved once
// (SafetyGuard::rootUse): none when it is missing or must be skipped.
// `location` is the root as named, or its real path when it goes through a
// link; `needsReview` asks for what is found there to start deselected.
struct Root {
    QString location;
    bool needsReview = false;
};
std::optional<Root> root(const QString& folder);

// An item for the location with its content modification date (absent when it
// cannot be read), selected exactly when it does not need review.
ScanItem item(const QString& location, const QString& displayName, const std::optional<QString>& origin, qint64 size,
              bool requiresReview, const std::optional<QString>& detail = std::nullopt);

// Appends the group when it holds at least one item.
void appendIfAny(QList<ScanGroup>& groups, ScanGroup group);

// Sum of the sizes of every item of every group.
qint64 totalSize(const QList<ScanGroup>& groups);

// The part of the name after its last dot, as file names are read: empty when
// there is no dot, when the only dot starts a hidden name, or when it ends it.
QString pathExtension(const QString& name);
// The name without its extension and that dot.
QString deletingPathExtension(const QString& name);

} // namespace harborlite::ScanSteps
