#include "engine/scanners/CategoryScanner.h"

#include "engine/models/SizeOrder.h"
#include "engine/safety/SafetyGuard.h"
#include "engine/scanners/ScanSteps.h"
#include "shared/FileSystem.h"

namespace harborlite {

void CategoryScanner::report(const ProgressCallback& progress, const ScanProgress& value)
{
    if (progress) {
        progress(value);
    }
}

QList<ScanItem> CategoryScanner::items(const QString& folder, const std::optional<QString>& origin, qint64 minimumSize,
                                       bool requiresReview, const CancelPredicate& isCancelled,
                                       const std::function<void(double, qint64)>& onProgress,
                                       std::chrono::milliseconds reportInterval)
{
    QList<ScanItem> result;
    const SafetyGuard::Context context = SafetyGuard::context();
    const SafetyGuard::RootUse root = SafetyGuard::rootUse(folder, context);
    if (root.skipped() || !FS::isDirectory(root.realPath)) {
        return result;
    }
    const QStringList entries = FS::children(root.realPath, {.includingHidden = true});
    const qsizetype count = entries.size();
    const bool review = requiresReview || root.needsReview;
    ProgressMeter meter(isCancelled, onProgress, reportInterval);
    for (qsizetype i = 0; i < count; ++i) {
        if (ScanSteps::cancelled(isCancelled)) {
            break;
        }
        meter.step(double(i) / double(count), double(i + 1) / double(count));
        const QString name = FS::lastPathComponent(entries.at(i));
        if (!SafetyGuard::verdictOfEntry(root.realPath, name, false, context).allowed) {
            continue;
        }
        const QString entry = root.throughLink ? entries.at(i) : FS::join(folder, name);
        const qint64 size = FS::size(entry, {.descendIntoPackages = true, .isCancelled = meter.test()});
        if (size < minimumSize) {
            continue;
        }
        result.append(ScanSteps::item(entry, name, origin, size, review));
    }
    sortBySize(result);
    return result;
}

} // namespace harborlite
