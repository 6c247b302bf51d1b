#pragma once

#include "engine/apps/AppCatalog.h"
#include "engine/scanners/CategoryScanner.h"
#include "platform/SystemRoots.h"

namespace harborlite {

// Data applications and the system rebuild by themselves, in seven phases:
// user caches, shared caches, logs, saved window state, developer build
// products, package-manager download caches, and preference files that are
// broken or that no installed application owns. Every progress report carries
// the bytes of the groups already appended; a cancelled scan still passes
// through every phase, each stopping at its first check.
class SystemJunkScanner : public CategoryScanner {
public:
    // `sharedLibrary` is the machine-wide Library folder; `catalog` tells which
    // applications are installed; `reportInterval` is the least time between
    // two reports from inside one measurement (ProgressMeter).
    explicit SystemJunkScanner(QString sharedLibrary = roots::sharedLibrary, AppCatalog catalog = {},
                               std::chrono::milliseconds reportInterval = ProgressMeter::interval);

    ScanCategory category() const override { return ScanCategory::systemJunk; }
    CategoryResult scan(const ProgressCallback& progress, const CancelPredicate& isCancelled) const override;

private:
    using PhaseProgress = std::function<void(double fraction, const QString& message)>;

    ScanGroup developerGroup(const CancelPredicate& isCancelled, const PhaseProgress& onProgress) const;
    ScanGroup packageManagerGroup(const CancelPredicate& isCancelled, const PhaseProgress& onProgress) const;
    // Preference files that do not parse, and well-formed ones of a domain no
    // installed application has; opt-in, every item deselected.
    ScanGroup brokenPreferencesGroup(const CancelPredicate& isCancelled,
                                     const std::function<void(double)>& onProgress) const;

    QString sharedLibrary_;
    AppCatalog catalog_;
    std::chrono::milliseconds reportInterval_;
};

} // namespace harborlite
